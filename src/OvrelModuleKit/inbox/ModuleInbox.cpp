#include "OvrelModuleKit/inbox/ModuleInbox.h"

#include "Platform/files/AtomicFile.h"
#include "Platform/files/BoundedFile.h"
#include "Platform/files/FileError.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstdio>
#include <unistd.h>

namespace ovrel {

namespace {

// Moves the inbox file to a name only this call knows. rename() is atomic, so
// of two takers exactly one gets the file, and a command the hub writes after
// the rename lands in a fresh inbox file instead of being removed unread.
std::optional<QString> claim(const QString& inboxFile) {
    const QFileInfo info(inboxFile);
    const QString claimed =
        info.absolutePath() + QStringLiteral("/.") + info.fileName() +
        QStringLiteral(".taken-%1-%2")
            .arg(::getpid())
            .arg(QRandomGenerator::global()->generate64(), 16, 16, QLatin1Char('0'));
    if (std::rename(QFile::encodeName(inboxFile).constData(),
                    QFile::encodeName(claimed).constData()) != 0)
        return std::nullopt;
    return claimed;
}

void removeClaimed(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    if (::unlink(native.constData()) != 0 && (errno == EISDIR || errno == EPERM))
        ::rmdir(native.constData());
}

} // namespace

ModuleInbox::ModuleInbox(ModulePaths paths, QString id)
    : m_paths(std::move(paths)), m_id(std::move(id)) {}

void ModuleInbox::write(const QString& command, const std::optional<QString>& argument,
                        UnixTime::TimePoint at) const {
    // The id becomes a path component: refuse anything that could leave the tree.
    if (!ModulePaths::isValidModuleId(m_id))
        throw FileError(file(), QStringLiteral("invalid module id"));
    const InboxCommand inboxCommand{command, UnixTime::toSeconds(at), argument};
    const QByteArray bytes = inboxCommand.encode();
    AtomicFile::write(file(), bytes);
}

std::optional<InboxCommand> ModuleInbox::take(double lastSeen) const {
    if (!ModulePaths::isValidModuleId(m_id))
        return std::nullopt;
    const std::optional<QString> claimed = claim(file());
    if (!claimed)
        return std::nullopt; // no command waiting, or another taker was first
    const BoundedFile::ReadResult loaded = BoundedFile::read(*claimed, kMaxFileBytes);
    removeClaimed(*claimed);
    if (loaded.status != BoundedFile::ReadResult::Status::ok)
        return std::nullopt;
    std::optional<InboxCommand> command = InboxCommand::decode(loaded.bytes);
    if (!command || !shouldAccept(*command, lastSeen))
        return std::nullopt;
    return command;
}

bool ModuleInbox::shouldAccept(const InboxCommand& command, double lastSeen) {
    return command.at > lastSeen;
}

} // namespace ovrel
