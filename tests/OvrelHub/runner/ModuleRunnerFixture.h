#pragma once

// A runner over a temporary module tree, with a verifier that counts its
// calls, a fake workspace and hooks that record what the runner showed and
// posted, each with the inbox as it was at that moment.

#include "FakeWorkspace.h"
#include "ModuleBundleFixture.h"
#include "OvrelHub/modules/ModuleStateStore.h"
#include "OvrelHub/runner/ModuleRunner.h"
#include "OvrelHub/signature/ModuleVerifying.h"
#include "OvrelHub/signature/SignatureError.h"
#include "OvrelModuleKit/inbox/InboxCommand.h"
#include "TestSupport.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <atomic>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <mutex>
#include <optional>

namespace ovrel::test {

class CountingVerifier : public ModuleVerifying {
public:
    void verify(const QString& bundle, const QString& moduleId) const override {
        ++calls;
        {
            const std::lock_guard guard(m_lock);
            checked.append(moduleId + QLatin1Char(':') + bundle);
        }
        if (whileChecking)
            whileChecking();
        if (failure)
            throw *failure;
    }

    mutable std::atomic<int> calls{0};
    mutable QStringList checked; // "id:bundle" per call
    std::optional<SignatureError> failure;
    std::function<void()> whileChecking;

private:
    mutable std::mutex m_lock;
};

// A manifest that loads for the id, with minMacOS when given.
inline QByteArray manifestFor(const QString& id, const std::optional<QString>& minMacOS = {}) {
    const QJsonObject texts{{QStringLiteral("vi"), id}, {QStringLiteral("en"), id}};
    QJsonObject manifest{{QStringLiteral("id"), id},
                         {QStringLiteral("version"), QStringLiteral("1.0.0")},
                         {QStringLiteral("minHostVersion"), QStringLiteral("0.1.0")},
                         {QStringLiteral("name"), texts},
                         {QStringLiteral("summary"), texts},
                         {QStringLiteral("menu"), QJsonArray{}},
                         {QStringLiteral("settings"), QJsonArray{}}};
    if (minMacOS)
        manifest.insert(QStringLiteral("minMacOS"), *minMacOS);
    return QJsonDocument(manifest).toJson(QJsonDocument::Compact);
}

class ModuleRunnerTest : public ::testing::Test {
protected:
    // The inbox of the module, decoded; none when there is no valid file.
    std::optional<InboxCommand> inbox(const QString& id = QStringLiteral("clock")) const {
        QFile file(paths.inboxFile(id));
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
        return InboxCommand::decode(file.readAll());
    }
    QString inboxText(const QString& id) const {
        const std::optional<InboxCommand> command = inbox(id);
        if (!command)
            return QStringLiteral("no inbox");
        return command->command + QLatin1Char('/') +
               command->argument.value_or(QStringLiteral("-"));
    }

    // Records the inbox whenever the workspace is asked to open something.
    class RecordingWorkspace : public FakeWorkspace {
    public:
        explicit RecordingWorkspace(ModuleRunnerTest& test) : m_test(test) {}
        void openApplication(const QString& bundlePath, bool activate,
                             OpenApplicationCompletion completion) override {
            m_test.events.append(QStringLiteral("open ") +
                                 m_test.inboxText(QStringLiteral("clock")));
            FakeWorkspace::openApplication(bundlePath, activate, std::move(completion));
        }

    private:
        ModuleRunnerTest& m_test;
    };

    class RecordingApplication : public FakeRunningApplication {
    public:
        RecordingApplication(ModuleRunnerTest& test, qint64 pid)
            : FakeRunningApplication(pid, ModuleRunner::bundleIdentifier(QStringLiteral("clock"))),
              m_test(test) {}
        bool activate() override {
            m_test.events.append(QStringLiteral("activate %1").arg(pid()));
            return FakeRunningApplication::activate();
        }

    private:
        ModuleRunnerTest& m_test;
    };

    ModuleRunner::Hooks recordingHooks() {
        return {[this] { return systemVersion; },
                [this](const BlockedLaunchAlert::Texts& texts) { alerts.append(texts); },
                [this](const QString& name) {
                    events.append(QStringLiteral("post ") + name + QLatin1Char(' ') +
                                  inboxText(QStringLiteral("clock")));
                }};
    }

    // Writes Modules/<id>/<appName> with a pretend signature and records it as
    // installed.
    QString install(const QString& id = QStringLiteral("clock"),
                    const std::optional<QByteArray>& manifest = std::nullopt,
                    const QString& appName = QStringLiteral("Clock.app")) {
        BundleSpec spec;
        spec.id = id;
        spec.appName = appName;
        spec.manifest = manifest.value_or(manifestFor(id));
        const QString bundle = writeModuleBundle(paths.moduleDir(id), spec);
        writeFile(bundle + QStringLiteral("/Contents/_CodeSignature/CodeResources"), "<plist/>");
        record(id, appName);
        return bundle;
    }

    void record(const QString& id, const QString& appName) {
        store.update([&](ModulesState& state) {
            InstalledModule entry;
            entry.id = id;
            entry.version = QStringLiteral("1.0.0");
            entry.appName = appName;
            state.installed[id] = entry;
        });
    }

    std::shared_ptr<RecordingApplication> addRunning(qint64 pid) {
        auto application = std::make_shared<RecordingApplication>(*this, pid);
        workspace.running[ModuleRunner::bundleIdentifier(QStringLiteral("clock"))].append(
            application);
        return application;
    }

    TempDir dir;
    ModulePaths paths{dir.file(QStringLiteral("Ovrel"))};
    ModuleStateStore store{paths};
    CountingVerifier verifier;
    RecordingWorkspace workspace{*this};
    QString systemVersion = QStringLiteral("14.5.0");
    QList<BlockedLaunchAlert::Texts> alerts;
    QStringList events;
    ModuleRunner runner{paths, store, verifier, workspace, recordingHooks()};
};

} // namespace ovrel::test
