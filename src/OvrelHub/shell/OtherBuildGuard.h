#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace ovrel {

// Only one build of the hub may run on a machine: both share the user's data
// and the sign-in callback could reach the wrong one. At launch the guard
// looks for the other build; copies in a Trash, or on a read-only volume while
// this build is not, do not count. Every uncertainty falls on starting.
class OtherBuildGuard {
public:
    struct Decision {
        enum class Kind { proceed, block };
        Kind kind = Kind::proceed;
        QString location; // the other build, for block

        static Decision proceed() { return {}; }
        static Decision block(QString location) { return {Kind::block, std::move(location)}; }
        bool operator==(const Decision&) const = default;
    };

    using Locate = std::function<std::optional<QString>(const QString& bundleIdentifier)>;
    using Exists = std::function<bool(const QString& path)>;
    using IsReadOnlyVolume = std::function<bool(const QString& path)>;
    using TrashDirectories = std::function<QStringList(const QString& path)>;

    static Decision decideForRealSystem(
        const QString& otherBundleID, const Locate& locate, const QString& selfPath,
        const IsReadOnlyVolume& isReadOnlyVolume = &isOnReadOnlyVolume,
        const TrashDirectories& trashDirectories = [](const QString& p) {
            return trashDirectoriesFor(p);
        });

    // Without Trash and volume tests.
    static Decision decide(const Locate& locate, const QString& otherBundleID,
                           const Exists& exists);

    static bool isInTrash(const QString& path, const QStringList& trashDirs);
    static bool isEffectivelyUninstalled(const QString& path, const QStringList& trashDirs,
                                         bool onReadOnlyVolume, bool selfOnReadOnlyVolume);
    // False when the volume cannot be asked.
    static bool isOnReadOnlyVolume(const QString& path);

    // The user's home Trash, plus the per-volume Trash names of the volume that
    // holds `path` ($topdir/.Trash/$uid and $topdir/.Trash-$uid), de-duplicated
    // by resolved path, first occurrence kept.
    static QStringList trashDirectoriesFor(const QString& path);
    static QStringList trashDirectoriesFor(const QString& path, const QString& homeTrash);

    // Resolves symbolic links as far as the path exists, then cleans the rest.
    static QString resolvedPath(const QString& path);
};

} // namespace ovrel
