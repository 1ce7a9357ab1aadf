#include "OvrelHub/shortcuts/ShortcutManager.h"

#include "OvrelHub/modules/AppModules.h"
#include "OvrelHub/shortcuts/DesktopEntryBackend.h"
#include "Platform/bundle/BundleInfo.h"
#include "Platform/files/AtomicFile.h"
#include "Platform/files/XdgDirs.h"
#include "Platform/system/SystemLog.h"

#include <QDir>

namespace ovrel {

namespace {
const QString kPrefix = QStringLiteral("Ovrel ");

// Sets the entry's flag (and name, when given) if the entry still exists.
void storeShortcut(ModuleStateStore& state, const QString& id, bool enabled,
                   const std::optional<QString>& name) {
    state.update([&](ModulesState& modules) {
        const auto entry = modules.installed.find(id);
        if (entry == modules.installed.end())
            return;
        entry->second.shortcutEnabled = enabled;
        if (name)
            entry->second.shortcutLinkName = *name;
    });
}
} // namespace

ShortcutManager::ShortcutManager(ModuleStateStore& state, ShortcutBackend& backend,
                                 QString userApplications)
    : m_state(state), m_backend(backend), m_userApplications(std::move(userApplications)) {}

QString ShortcutManager::defaultUserApplications() {
    return XdgDirs::dataHome() + QStringLiteral("/applications");
}

QString ShortcutManager::linkName(const QString& displayName) {
    qsizetype begin = 0;
    qsizetype end = displayName.size();
    const auto isBlank = [](QChar c) { return c == u' ' || c == u'\t'; };
    while (begin < end && isBlank(displayName[begin]))
        ++begin;
    while (end > begin && isBlank(displayName[end - 1]))
        --end;
    QString name = displayName.mid(begin, end - begin);
    if (!name.startsWith(kPrefix))
        name.prepend(kPrefix);
    name.replace(u'/', u'-');
    name.replace(u':', u'-');
    return name;
}

ShortcutManager& ShortcutManager::shared() {
    static DesktopEntryBackend backend;
    static ShortcutManager manager(AppModules::shared().state, backend, defaultUserApplications());
    return manager;
}

QString ShortcutManager::storedOrComputed(const InstalledModule& module, const QString& computed) {
    // A name from the state file becomes a path: only a plain file name does.
    const std::optional<QString>& stored = module.shortcutLinkName;
    return stored && BundleInfo::isPlainFileName(*stored) ? *stored : computed;
}

QString ShortcutManager::linkPath(const QString& name) const {
    return QDir(m_userApplications).filePath(name);
}

void ShortcutManager::set(bool enabled, const QString& id,
                          const std::optional<QString>& displayName) {
    const ModulesState state = m_state.load();
    const auto entry = state.installed.find(id);
    if (entry == state.installed.end())
        return;
    const QString name = linkName(displayName.value_or(id));
    if (!enabled) {
        m_backend.remove(linkPath(storedOrComputed(entry->second, name)));
        storeShortcut(m_state, id, false, std::nullopt);
        return;
    }
    try {
        AtomicFile::makeDirectories(m_userApplications);
    } catch (const FileError&) {
        // Creating the shortcut reports what is wrong.
    }
    try {
        m_backend.create(linkPath(name), m_state.paths().bundle(id, entry->second.appName));
    } catch (const std::exception& error) {
        SystemLog::write(QStringLiteral("Ovrel: không tạo được lối tắt cho ") + id +
                         QStringLiteral(": ") + QString::fromUtf8(error.what()));
        return;
    }
    storeShortcut(m_state, id, true, name);
}

void ShortcutManager::reconcileAll() {
    const ModulesState state = m_state.load();
    for (const auto& [id, module] : state.installed) {
        if (!module.shortcutEnabled)
            continue;
        if (!m_backend.exists(linkPath(storedOrComputed(module, linkName(id)))))
            storeShortcut(m_state, id, false, std::nullopt);
    }
}

} // namespace ovrel
