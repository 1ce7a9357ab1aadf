#include "OvrelHub/modules/ModuleStateStore.h"

#include "OvrelHub/modules/RegularFileReader.h"
#include "OvrelHub/modules/UnreadableFileKeeper.h"
#include "Platform/files/AtomicFile.h"
#include "Platform/system/SystemLog.h"

#include <QDateTime>

namespace ovrel {

ModuleStateStore::ModuleStateStore(ModulePaths paths) : m_paths(std::move(paths)) {}

ModulesState ModuleStateStore::load() {
    std::lock_guard guard(m_lock);
    return readFile();
}

void ModuleStateStore::save(const ModulesState& state) {
    withLock([&](const Locked& locked) { locked.writeLocked(state); });
}

void ModuleStateStore::update(const std::function<void(ModulesState&)>& body) {
    withLock([&](const Locked& locked) {
        ModulesState state = locked.read();
        body(state);
        locked.writeLocked(state);
    });
}

QString ModuleStateStore::stateLockFile() const {
    return m_paths.root() + QStringLiteral("/.modules-state.lock");
}

std::optional<FileLock> ModuleStateStore::lockAcrossProcesses() const {
    try {
        return FileLock::acquire(stateLockFile());
    } catch (const FileError& error) {
        SystemLog::write(QStringLiteral("Ovrel: không khoá được modules-state.json giữa các tiến "
                                        "trình (") +
                         error.description() + QStringLiteral(") — vẫn ghi"));
        return std::nullopt;
    }
}

ModulesState ModuleStateStore::readFile() const {
    const RegularFileReader::Result file =
        RegularFileReader::read(m_paths.stateFile(), kMaxFileBytes);
    if (file.status != RegularFileReader::Status::read)
        return ModulesState::empty();
    ModulesState::Decoded decoded = ModulesState::decode(file.bytes);
    for (const QString& id : decoded.droppedIds)
        SystemLog::write(QStringLiteral("Ovrel: modules-state.json có mục module ") + id +
                         QStringLiteral(" không đọc được — bỏ qua mục này, giữ các mục khác"));
    return std::move(decoded.state);
}

void ModuleStateStore::writeFile(const ModulesState& state) const {
    const QByteArray bytes = state.encode();
    if (!keepUnreadableFileAside())
        return;
    try {
        AtomicFile::write(m_paths.stateFile(), bytes);
    } catch (const FileError&) {
        // The old file stays; the next write tries again.
    }
}

bool ModuleStateStore::keepUnreadableFileAside() const {
    const QString path = m_paths.stateFile();
    const RegularFileReader::Result file = RegularFileReader::read(path, kMaxFileBytes);
    if (file.status == RegularFileReader::Status::missing)
        return true;
    if (file.status == RegularFileReader::Status::read && ModulesState::decode(file.bytes).intact)
        return true;
    try {
        const QString aside =
            UnreadableFileKeeper::keepAside(path, QDateTime::currentDateTimeUtc());
        SystemLog::write(
            QStringLiteral("Ovrel: modules-state.json không đọc được trọn vẹn — đã giữ bản cũ ở ") +
            aside + QStringLiteral(" trước khi ghi đè"));
        return true;
    } catch (const FileError& error) {
        SystemLog::write(QStringLiteral("Ovrel: modules-state.json không đọc được trọn vẹn và "
                                        "không giữ lại được bản cũ: ") +
                         error.description() +
                         QStringLiteral(" — bỏ qua lần ghi để không mất dữ liệu"));
        return false;
    }
}

} // namespace ovrel
