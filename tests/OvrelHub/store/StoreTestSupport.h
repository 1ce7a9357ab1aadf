#pragma once

#include "InstallFixture.h"
#include "OvrelHub/modules/ModuleStateStore.h"
#include "OvrelHub/signature/ModuleSignatureVerifier.h"
#include "OvrelHub/store/BundleMover.h"
#include "OvrelHub/store/InstallCompletion.h"
#include "OvrelHub/store/InstallError.h"

#include <QDir>
#include <gtest/gtest.h>
#include <ostream>

namespace ovrel {
inline void PrintTo(const InstallError& error, std::ostream* os) {
    *os << error.what();
}
} // namespace ovrel

namespace ovrel::test {

// A modules root, a verifier that accepts the test identity, and a completion
// step whose mover, system version and agents tests control.
struct InstallTestBase : ::testing::Test {
    TempDir dir;
    ModulePaths paths{dir.file("Ovrel")};
    ModuleStateStore state{paths};
    ModuleSignatureVerifier verifier{QStringList{testIdentity().leafHash()}};
    FakeResident resident;
    QString systemVersion = "14.5.0";
    BundleMoving mover = BundleMover::standard();
    InstallCompletion completion{
        {state, verifier, &resident,
         [this](const QString& from, const QString& to) { mover(from, to); },
         [this] { return systemVersion; }}};
    int stagedCount = 0;

    // A signed bundle in a directory of its own, as staging would hold it.
    QString stage(const TestBundle& bundle) {
        return writeSignedBundle(dir.file(QString("staged/%1").arg(++stagedCount)), bundle,
                                 testIdentity());
    }
    ModuleManifest install(const TestBundle& bundle,
                           const std::optional<QString>& version = std::nullopt) {
        return completion.complete(bundle.id, stage(bundle), version);
    }
    std::optional<InstallError> failure(const QString& id, const QString& bundle) {
        try {
            completion.complete(id, bundle, std::nullopt);
        } catch (const InstallError& error) {
            return error;
        }
        return std::nullopt;
    }

    static TestBundle version(const QString& version, const QString& appName = "Clock.app") {
        TestBundle bundle;
        bundle.version = version;
        bundle.appName = appName;
        bundle.executableBytes = "\x7f"
                                 "ELF clock " +
                                 version.toUtf8();
        return bundle;
    }
    QString installedExecutable(const QString& appName = "Clock.app") const {
        return paths.bundle("clock", appName) + "/Contents/MacOS/clock";
    }
    QStringList moduleDirEntries(const QString& id = "clock") const {
        return QDir(paths.moduleDir(id))
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }
    bool backupExists(const QString& id = "clock") const {
        return QFileInfo::exists(paths.moduleDir(id) + ".bak");
    }
};

} // namespace ovrel::test
