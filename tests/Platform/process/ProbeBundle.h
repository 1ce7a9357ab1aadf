#pragma once

// Module bundles around the app-probe program, for tests that start real
// processes: <root>/Modules/<id>/Probe.app with the probe copied (not linked)
// into Contents/MacOS, so the process's executable lies inside the bundle.
#include "Platform/plist/PlistCodec.h"
#include "Platform/process/RunningApplication.h"
#include "Platform/process/Workspace.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>
#include <optional>

namespace ovrel::test {

inline QString uniqueModuleId(const QString& stem) {
    return stem + QLatin1Char('-') +
           QString::number(QRandomGenerator::global()->generate(), 16).rightJustified(8, '0');
}

inline QString bundleIdentifierOf(const QString& id) {
    return QStringLiteral("vn.ovrel.module.") + id;
}

struct ProbeBundle {
    QString id;
    QString path;
    QString recordFile;

    QString executable() const { return path + QStringLiteral("/Contents/MacOS/app-probe"); }
    QString identifier() const { return bundleIdentifierOf(id); }

    static void writeInfo(const QString& bundlePath, const QVariantMap& info) {
        writeFile(bundlePath + QStringLiteral("/Contents/Info.plist"), PlistCodec::toXml(info));
    }

    static void copyProbe(const QString& executable) {
        QDir().mkpath(QFileInfo(executable).absolutePath());
        ASSERT_TRUE(QFile::copy(probePath(QStringLiteral("app-probe")), executable));
        QFile::setPermissions(executable, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                              QFile::ReadGroup | QFile::ExeGroup);
    }

    static ProbeBundle make(const QString& modulesDir, const QString& id,
                            bool ignoresTerm = false) {
        ProbeBundle bundle{id, modulesDir + QLatin1Char('/') + id + QStringLiteral("/Probe.app"),
                           modulesDir + QStringLiteral("/../") + id + QStringLiteral(".record")};
        writeInfo(bundle.path, {{QStringLiteral("CFBundleIdentifier"), bundle.identifier()},
                                {QStringLiteral("CFBundleExecutable"), QStringLiteral("app-probe")},
                                {QStringLiteral("ProbeRecordFile"), bundle.recordFile},
                                {QStringLiteral("ProbeIgnoresTerm"), ignoresTerm}});
        copyProbe(bundle.executable());
        return bundle;
    }

    QByteArrayList recordLines() const { return readFile(recordFile).split('\n'); }

    bool waitForRecord(const QByteArray& line) const {
        return QTest::qWaitFor([&] { return recordLines().contains(line); }, 15000);
    }
};

// Result of an openApplication call, with where and when the completion ran.
struct OpenOutcome {
    std::shared_ptr<RunningApplication> application;
    std::optional<WorkspaceError> error;
    bool returned = false;
    bool completed = false;
    bool completedSynchronously = false;
    bool completedOnMainThread = false;
    int completions = 0;
};

inline OpenOutcome openAndWait(Workspace& workspace, const QString& bundlePath) {
    auto outcome = std::make_shared<OpenOutcome>();
    workspace.openApplication(bundlePath, true, [outcome](auto application, auto error) {
        outcome->application = std::move(application);
        outcome->error = std::move(error);
        outcome->completedSynchronously = !outcome->returned;
        outcome->completedOnMainThread = QThread::currentThread() == qApp->thread();
        outcome->completed = true;
        ++outcome->completions;
    });
    outcome->returned = true;
    (void)QTest::qWaitFor([&] { return outcome->completed; }, 15000); // callers check it
    QCoreApplication::processEvents(); // a second completion would have been queued too
    return *outcome;
}

} // namespace ovrel::test
