#include "Platform/process/Workspace.h"

#include "Platform/bundle/ApplicationBundle.h"
#include "Platform/desktop/DesktopEntry.h"
#include "Platform/process/DetachedLauncher.h"
#include "Platform/process/LinuxRunningApplication.h"
#include "Platform/process/ProcessScanner.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QFileInfo>
#include <algorithm>
#include <cstring>

namespace ovrel {

namespace {

// The bundle an executable came from: the folder holding its "Contents", or
// the located directory itself when the path has no such folder inside it.
QString bundleContaining(const QString& executable, const QString& directory) {
    const qsizetype contents = executable.lastIndexOf(QStringLiteral("/Contents/"));
    return contents >= directory.size() ? executable.left(contents) : directory;
}

void deliverOnMainThread(std::function<void()> call) {
    QCoreApplication* application = QCoreApplication::instance();
    if (!application) {
        call();
        return;
    }
    QMetaObject::invokeMethod(application, std::move(call), Qt::QueuedConnection);
}

} // namespace

DesktopWorkspace::DesktopWorkspace(BundleLocator locator) : m_locator(std::move(locator)) {}

DesktopWorkspace& DesktopWorkspace::shared() {
    static DesktopWorkspace workspace;
    return workspace;
}

void DesktopWorkspace::setBundleLocator(BundleLocator locator) {
    const std::lock_guard guard(m_lock);
    m_locator = std::move(locator);
}

BundleLocator DesktopWorkspace::locator() const {
    const std::lock_guard guard(m_lock);
    return m_locator;
}

bool DesktopWorkspace::openURL(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

void DesktopWorkspace::revealInFileViewer(const QString& path) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"),
        QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << QStringList{QUrl::fromLocalFile(path).toString()} << QString();
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 3000);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return;
    // No file manager on the bus: at least open the folder that holds it.
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absolutePath()));
}

std::optional<QString> DesktopWorkspace::applicationPath(const QString& bundleIdentifier) {
    const auto entry = DesktopEntry::find(bundleIdentifier);
    if (!entry)
        return std::nullopt;
    return DesktopEntry::installedLocation(*entry);
}

RunningApplications DesktopWorkspace::runningApplications(const QString& bundleIdentifier) {
    const BundleLocator locate = locator();
    if (!locate)
        return {};
    auto matches = ProcessScanner().executablesInside(locate(bundleIdentifier));
    std::sort(matches.begin(), matches.end(), [](const auto& a, const auto& b) {
        return a.startTime != b.startTime ? a.startTime < b.startTime : a.pid < b.pid;
    });
    RunningApplications applications;
    for (const ProcessScanner::Match& match : matches) {
        auto application = std::make_shared<LinuxRunningApplication>(
            match.pid, match.startTime, bundleIdentifier,
            bundleContaining(match.executablePath, match.directory), match.executablePath);
        // It may have ended since the scan.
        if (!application->isTerminated())
            applications.append(std::move(application));
    }
    return applications;
}

void DesktopWorkspace::openApplication(const QString& bundlePath, bool activate,
                                       OpenApplicationCompletion completion) {
    Q_UNUSED(activate)
    std::shared_ptr<RunningApplication> application;
    std::optional<WorkspaceError> error;
    try {
        const ApplicationBundle bundle = ApplicationBundle::load(bundlePath);
        const DetachedLauncher::Outcome outcome = DetachedLauncher::launch(bundle.executablePath);
        if (!outcome.started())
            throw WorkspaceError(WorkspaceError::Kind::launchFailed, bundle.executablePath,
                                 QString::fromLocal8Bit(std::strerror(outcome.error)));
        application = LinuxRunningApplication::attach(outcome.pid, bundle.bundleIdentifier,
                                                      bundle.path, bundle.executablePath);
    } catch (const WorkspaceError& failure) {
        error = failure;
    }
    if (!completion)
        return;
    deliverOnMainThread([completion = std::move(completion), application, error] {
        completion(application, error);
    });
}

} // namespace ovrel

namespace ovrel {

QSet<QString> DesktopWorkspace::runningBundleIdentifiers(const QStringList& bundleIdentifiers) {
    const BundleLocator locate = locator();
    if (!locate)
        return {};
    QHash<QString, QString> identifierByDirectory;
    QStringList directories;
    for (const QString& identifier : bundleIdentifiers) {
        for (const QString& directory : locate(identifier)) {
            identifierByDirectory.insert(ProcessScanner::canonicalDirectory(directory), identifier);
            directories.append(directory);
        }
    }
    QSet<QString> running;
    for (const ProcessScanner::Match& match : ProcessScanner().executablesInside(directories)) {
        const auto it = identifierByDirectory.constFind(match.directory);
        if (it != identifierByDirectory.cend())
            running.insert(*it);
    }
    return running;
}

} // namespace ovrel
