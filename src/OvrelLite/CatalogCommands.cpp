#include "OvrelLite/CatalogCommands.h"

#include "OvrelConfig/ModulePlan.h"
#include "OvrelHub/modules/ModuleStateStore.h"
#include "OvrelHub/shell/PendingResults.h"
#include "OvrelHub/store/InstallFailureText.h"
#include "OvrelHub/store/InstallProgress.h"
#include "OvrelHub/store/LocalInstall.h"
#include "OvrelHub/store/ModuleCatalogClient.h"
#include "OvrelHub/store/ModuleStore.h"
#include "OvrelLite/InstallProgressReport.h"
#include "OvrelLite/commandline/HubCommand.h"
#include "OvrelModuleKit/text/LocalizedText.h"
#include "Platform/system/HostOS.h"
#include "Platform/system/SystemLog.h"

#include <QPromise>
#include <memory>
#include <stdexcept>

namespace ovrel::CatalogCommands {

namespace {

// The future's value, or its failure rethrown (a future called off without
// one fails too).
template <class T> T resultOf(QFuture<T> future) {
    if (future.resultCount() == 0) {
        future.waitForFinished(); // rethrows a stored failure
        throw std::runtime_error("the operation was called off");
    }
    return future.result();
}

QString failureLine(const std::exception_ptr& error, AppLanguage language) {
    return QStringLiteral("ovrel-lite: ") + InstallFailureText::message(error, language) +
           QStringLiteral(" (") + InstallFailureText::description(error) +
           QStringLiteral(")\n");
}

ModuleAction plan(const ModulesState& state, const CatalogEntry& entry) {
    const auto installed = state.installed.find(entry.id);
    return ModulePlan::decide(entry,
                              installed == state.installed.end()
                                  ? std::nullopt
                                  : std::optional<QString>(installed->second.version),
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

// One catalog command from the fetch to its outcome; kept alive by the
// handlers it is waiting in.
class CatalogRun : public std::enable_shared_from_this<CatalogRun> {
public:
    // `installing`: the module an install is for, whose failures are logged.
    CatalogRun(HubCommandContext& context, std::optional<QString> installing = std::nullopt)
        : m_context(context), m_installing(std::move(installing)) {
        m_promise.start();
    }

    QFuture<CommandLineOutcome> future() { return m_promise.future(); }

    // Fetches the catalog, then hands the entries to `next`; a failed fetch
    // ends the command with the store's text for it.
    void fetch(std::function<void(const QList<CatalogEntry>&)> next) {
        if (!m_context.catalog || !m_context.results) {
            finish(CommandLineOutcome::failure(
                ExitStatus::failure, QStringLiteral("ovrel-lite: no catalog in this process\n")));
            return;
        }
        auto self = shared_from_this();
        m_context.results->deliver(
            m_context.catalog->fetch(ModuleCatalogClient::hostVersion()),
            [self, next = std::move(next)](const QFuture<QList<CatalogEntry>>& fetched) {
                QList<CatalogEntry> entries;
                try {
                    entries = resultOf(fetched);
                } catch (...) {
                    self->failWith(std::current_exception());
                    return;
                }
                next(entries);
            });
    }

    void failWith(const std::exception_ptr& error) {
        if (m_installing)
            SystemLog::write(QStringLiteral("Ovrel: cài module ") + *m_installing +
                             QStringLiteral(" lỗi: ") + InstallFailureText::description(error));
        finish(CommandLineOutcome::failure(ExitStatus::failure, failureLine(error, m_context.language())));
    }

    void finish(const CommandLineOutcome& outcome) {
        m_promise.addResult(outcome);
        m_promise.finish();
    }

    HubCommandContext& context() { return m_context; }

private:
    HubCommandContext& m_context;
    const std::optional<QString> m_installing;
    QPromise<CommandLineOutcome> m_promise;
};

QString catalogLines(HubCommandContext& context, const QList<CatalogEntry>& entries) {
    const ModulesState state = context.state.load();
    const QString language = AppLanguages::rawValue(context.language());
    QString lines;
    for (const CatalogEntry& entry : entries) {
        const QString version = entry.latest ? entry.latest->version : QStringLiteral("-");
        lines += entry.id + QLatin1Char('\t') + version + QLatin1Char('\t') +
                 actionText(plan(state, entry)) + QLatin1Char('\t') +
                 LocalizedText(entry.name).text(language).value_or(entry.id) + QLatin1Char('\n');
    }
    return lines;
}

// The install of the latest release once the catalog named it.
class ReleaseInstall {
public:
    ReleaseInstall(std::shared_ptr<CatalogRun> run, QString id, CatalogRelease release)
        : m_run(std::move(run)), m_id(std::move(id)), m_release(std::move(release)) {}

    static void start(const std::shared_ptr<ReleaseInstall>& install,
                      CommandLineProgressSink progress) {
        HubCommandContext& context = install->m_run->context();
        reportInstallProgress(install->m_progress,
                              install->m_id + QLatin1Char(' ') + install->m_release.version,
                              std::move(progress));
        const QUrl from =
            context.catalog->downloadURL(install->m_id, ModuleCatalogClient::hostVersion());
        context.results->deliver(
            context.store.install(install->m_id, install->m_release, from, &install->m_progress),
            [install](const QFuture<ModuleManifest>& done) { install->end(done); });
    }

private:
    void end(const QFuture<ModuleManifest>& done) {
        HubCommandContext& context = m_run->context();
        try {
            assignDefaultHotkeys(context.state, m_id, resultOf(done));
        } catch (...) {
            m_run->failWith(std::current_exception());
            return;
        }
        if (context.modulesChanged)
            context.modulesChanged();
        m_run->finish(CommandLineOutcome::success(
            QStringLiteral("installed %1 %2\n").arg(m_id, m_release.version)));
    }

    std::shared_ptr<CatalogRun> m_run;
    const QString m_id;
    const CatalogRelease m_release;
    InstallProgress m_progress;
};

} // namespace

QFuture<CommandLineOutcome> printCatalog(HubCommandContext& context) {
    auto run = std::make_shared<CatalogRun>(context);
    run->fetch([run](const QList<CatalogEntry>& entries) {
        run->finish(CommandLineOutcome::success(catalogLines(run->context(), entries)));
    });
    return run->future();
}

QFuture<CommandLineOutcome> installFromCatalog(HubCommandContext& context, const QString& id,
                                               CommandLineProgressSink progress) {
    auto run = std::make_shared<CatalogRun>(context, id);
    run->fetch([run, id, progress = std::move(progress)](const QList<CatalogEntry>& entries) {
        const auto entry = std::find_if(entries.begin(), entries.end(),
                                        [&](const CatalogEntry& e) { return e.id == id; });
        if (entry == entries.end()) {
            run->finish(CommandLineOutcome::failure(
                ExitStatus::failure, QStringLiteral("ovrel-lite: the catalog has no module ") + id +
                              QLatin1Char('\n')));
            return;
        }
        const ModuleAction action = plan(run->context().state.load(), *entry);
        if (action.kind() == ModuleAction::Kind::upToDate) {
            run->finish(CommandLineOutcome::success(id + QStringLiteral(" is up to date\n")));
            return;
        }
        if (action.kind() != ModuleAction::Kind::install &&
            action.kind() != ModuleAction::Kind::update) {
            run->finish(CommandLineOutcome::failure(
                ExitStatus::failure, QStringLiteral("ovrel-lite: ") + id + QStringLiteral(": ") +
                              actionText(action) + QLatin1Char('\n')));
            return;
        }
        ReleaseInstall::start(std::make_shared<ReleaseInstall>(run, id, *entry->latest),
                              progress);
    });
    return run->future();
}

} // namespace ovrel::CatalogCommands
