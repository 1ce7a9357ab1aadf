#include "OvrelLite/CatalogCommands.h"

#include "OvrelConfig/HubLanguage.h"
#include "OvrelConfig/ModulePlan.h"
#include "OvrelHub/modules/AppModules.h"
#include "OvrelHub/modules/ModulesChanged.h"
#include "OvrelHub/store/InstallFailureText.h"
#include "OvrelHub/store/InstallProgress.h"
#include "OvrelHub/store/LocalInstall.h"
#include "OvrelLite/ProgressLine.h"
#include "OvrelModuleKit/text/LocalizedText.h"
#include "Platform/system/HostOS.h"
#include "Platform/system/SystemLog.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QScopeGuard>
#include <QFutureWatcher>
#include <cstdio>

namespace ovrel::CatalogCommands {

namespace {

// Runs the event loop until the future has finished; rethrows its failure.
template <class T> T wait(QFuture<T> future) {
    QEventLoop loop;
    QFutureWatcher<T> watcher;
    QObject::connect(&watcher, &QFutureWatcherBase::finished, &loop, &QEventLoop::quit);
    watcher.setFuture(future);
    if (!future.isFinished())
        loop.exec();
    return future.result();
}

void printLine(FILE* stream, const QString& text) {
    std::fprintf(stream, "%s\n", text.toUtf8().constData());
}

void printFailure(const std::exception_ptr& error) {
    printLine(stderr, QStringLiteral("ovrel-lite: ") +
                          InstallFailureText::message(error, HubLanguage::current()) +
                          QStringLiteral(" (") + InstallFailureText::description(error) +
                          QLatin1Char(')'));
}

std::optional<QString> installedVersion(AppModules& modules, const QString& id) {
    const ModulesState state = modules.state.load();
    const auto entry = state.installed.find(id);
    return entry == state.installed.end() ? std::nullopt
                                          : std::optional<QString>(entry->second.version);
}

ModuleAction plan(AppModules& modules, const CatalogEntry& entry) {
    return ModulePlan::decide(entry, installedVersion(modules, entry.id),
                              ModuleCatalogClient::hostVersion(), HostOS::currentVersion());
}

QString actionText(const ModuleAction& action) {
    switch (action.kind()) {
    case ModuleAction::Kind::update:
        return QStringLiteral("update %1 -> %2")
            .arg(action.installedVersion(), action.latestVersion());
    case ModuleAction::Kind::incompatible:
        return QStringLiteral("needs Ovrel Lite %1").arg(action.requiredVersion());
    case ModuleAction::Kind::incompatibleOS:
        return QStringLiteral("needs system %1").arg(action.requiredVersion());
    case ModuleAction::Kind::install:
        return QStringLiteral("install");
    case ModuleAction::Kind::upToDate:
        return QStringLiteral("up to date");
    case ModuleAction::Kind::notAvailable:
        return QStringLiteral("not available");
    }
    return {};
}

// The steps after the download; the others have no line of their own.
std::optional<QString> stepText(InstallProgress::Step step) {
    switch (step) {
    case InstallProgress::Step::verifying:
        return QStringLiteral("Checking the archive");
    case InstallProgress::Step::unpacking:
        return QStringLiteral("Unpacking");
    case InstallProgress::Step::installing:
        return QStringLiteral("Checking the signature and installing");
    case InstallProgress::Step::waiting:
    case InstallProgress::Step::downloading:
        break;
    }
    return std::nullopt;
}

// Installs with the download's progress and the steps after it on standard error.
ModuleManifest installShowingProgress(AppModules& modules, const QString& id,
                                      const CatalogRelease& release) {
    ProgressLine line = ProgressLine::standardError();
    InstallProgress progress;
    const QString what = id + QLatin1Char(' ') + release.version;
    QObject::connect(&progress, &InstallProgress::downloaded,
                     [&line, what](qint64 received, qint64 total) {
                         line.download(what, received, total);
                     });
    QObject::connect(&progress, &InstallProgress::stepChanged, [&line](InstallProgress::Step step) {
        if (const std::optional<QString> text = stepText(step))
            line.step(*text);
    });
    const auto done = qScopeGuard([&] {
        QCoreApplication::processEvents(); // the last step lines
        line.finish();
    });
    const QString hostVersion = ModuleCatalogClient::hostVersion();
    return wait(modules.store.install(id, release, modules.catalog.downloadURL(id, hostVersion),
                                      &progress));
}

QList<CatalogEntry> fetchCatalog(AppModules& modules) {
    return wait(modules.catalog.fetch(ModuleCatalogClient::hostVersion()));
}

} // namespace

int printCatalog(AppModules& modules) {
    QList<CatalogEntry> entries;
    try {
        entries = fetchCatalog(modules);
    } catch (...) {
        printFailure(std::current_exception());
        return 1;
    }
    const QString language = AppLanguages::rawValue(HubLanguage::current());
    for (const CatalogEntry& entry : entries) {
        const QString version = entry.latest ? entry.latest->version : QStringLiteral("-");
        printLine(stdout, entry.id + QLatin1Char('\t') + version + QLatin1Char('\t') +
                              actionText(plan(modules, entry)) + QLatin1Char('\t') +
                              LocalizedText(entry.name).text(language).value_or(entry.id));
    }
    return 0;
}

int installFromCatalog(AppModules& modules, const QString& id) {
    try {
        const QList<CatalogEntry> entries = fetchCatalog(modules);
        const auto entry = std::find_if(entries.begin(), entries.end(),
                                        [&](const CatalogEntry& e) { return e.id == id; });
        if (entry == entries.end()) {
            printLine(stderr, QStringLiteral("ovrel-lite: the catalog has no module ") + id);
            return 1;
        }
        const ModuleAction action = plan(modules, *entry);
        if (action.kind() == ModuleAction::Kind::upToDate) {
            printLine(stdout, id + QStringLiteral(" is up to date"));
            return 0;
        }
        if (action.kind() != ModuleAction::Kind::install &&
            action.kind() != ModuleAction::Kind::update) {
            printLine(stderr, QStringLiteral("ovrel-lite: ") + id + QStringLiteral(": ") +
                                  actionText(action));
            return 1;
        }
        const ModuleManifest manifest = installShowingProgress(modules, id, *entry->latest);
        assignDefaultHotkeys(modules.state, id, manifest);
        postModulesChanged();
        printLine(stdout, QStringLiteral("installed %1 %2").arg(id, entry->latest->version));
        return 0;
    } catch (...) {
        SystemLog::write(QStringLiteral("Ovrel: cài module ") + id + QStringLiteral(" lỗi: ") +
                         InstallFailureText::description(std::current_exception()));
        printFailure(std::current_exception());
        return 1;
    }
}

} // namespace ovrel::CatalogCommands
