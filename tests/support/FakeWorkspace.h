#pragma once

#include "Platform/process/Workspace.h"

#include <QHash>
#include <QList>
#include <QStringList>

namespace ovrel::test {

// A running application that records what it was asked. It ends on terminate()
// unless it ignoresTerminate, and always on forceTerminate().
class FakeRunningApplication : public RunningApplication {
public:
    explicit FakeRunningApplication(qint64 pid, QString bundleIdentifier = {},
                                    QString bundlePath = {}, QString executablePath = {})
        : RunningApplication(pid, std::move(bundleIdentifier), std::move(bundlePath),
                             std::move(executablePath)) {}

    bool activate() override {
        ++activations;
        return !terminated;
    }
    bool terminate() override {
        ++terminateRequests;
        if (terminated)
            return false;
        terminated = !ignoresTerminate;
        return true;
    }
    bool forceTerminate() override {
        ++forceTerminateRequests;
        if (terminated)
            return false;
        terminated = true;
        return true;
    }
    bool isTerminated() const override { return terminated; }

    bool ignoresTerminate = false;
    bool terminated = false;
    int activations = 0;
    int terminateRequests = 0;
    int forceTerminateRequests = 0;
};

// Records what the hub asked the desktop to open. Running applications are
// listed per identifier (terminated ones are left out); openApplication calls
// its completion at once with openResult, or openError when that is set.
class FakeWorkspace : public Workspace {
public:
    struct OpenRequest {
        QString bundlePath;
        bool activate = false;
    };

    bool openURL(const QUrl& url) override {
        opened.append(url);
        return canOpenURLs;
    }
    void revealInFileViewer(const QString& path) override { revealed.append(path); }
    std::optional<QString> applicationPath(const QString& bundleIdentifier) override {
        const auto it = applications.constFind(bundleIdentifier);
        return it == applications.cend() ? std::nullopt : std::optional<QString>(*it);
    }
    RunningApplications runningApplications(const QString& bundleIdentifier) override {
        RunningApplications result;
        for (const auto& application : running.value(bundleIdentifier)) {
            if (!application->isTerminated())
                result.append(application);
        }
        return result;
    }
    QSet<QString> runningBundleIdentifiers(const QStringList& bundleIdentifiers) override {
        QSet<QString> result;
        for (const QString& identifier : bundleIdentifiers) {
            if (!runningApplications(identifier).isEmpty())
                result.insert(identifier);
        }
        return result;
    }
    void openApplication(const QString& bundlePath, bool activate,
                         OpenApplicationCompletion completion) override {
        openRequests.append({bundlePath, activate});
        if (completion)
            completion(openError ? nullptr : openResult, openError);
    }

    QList<QUrl> opened;
    bool canOpenURLs = true; // false: as on a desktop without a browser
    QStringList revealed;
    QHash<QString, QString> applications;
    QHash<QString, QList<std::shared_ptr<FakeRunningApplication>>> running;
    QList<OpenRequest> openRequests;
    std::shared_ptr<RunningApplication> openResult;
    std::optional<WorkspaceError> openError;
};

} // namespace ovrel::test
