#include "OvrelLite/commandline/InstallCommand.h"

#include "OvrelConfig/Loc.h"
#include "OvrelHub/store/InstallError.h"
#include "OvrelHub/store/LocalInstall.h"
#include "OvrelLite/commandline/InstallFailureText.h"
#include "Platform/system/SystemLog.h"

#include <QPromise>
#include <memory>

namespace ovrel {

namespace {

// What the store pane shows when a picked bundle has no readable manifest id.
const char* const kNoManifest = "Không đọc được manifest trong bundle đó.";

class BundleInstalls {
public:
    BundleInstalls(HubCommandContext& context, QStringList bundles)
        : m_context(context), m_bundles(std::move(bundles)) {
        m_promise.start();
    }

    static QFuture<CommandLineOutcome> start(HubCommandContext& context, QStringList bundles) {
        auto installs = std::make_shared<BundleInstalls>(context, std::move(bundles));
        QFuture<CommandLineOutcome> future = installs->m_promise.future();
        installNext(installs);
        return future;
    }

private:
    // One bundle at a time, so the lines come in the order the bundles were named.
    static void installNext(const std::shared_ptr<BundleInstalls>& self) {
        if (self->m_next == self->m_bundles.size()) {
            self->finish();
            return;
        }
        const QString bundle = self->m_bundles.at(self->m_next++);
        const std::optional<QString> id = manifestIdOf(bundle);
        if (!id) {
            self->m_failed = true;
            self->m_errors +=
                bundle + QStringLiteral(": ") + QString::fromUtf8(kNoManifest) + QLatin1Char('\n');
            installNext(self);
            return;
        }
        HubCommandContext& context = self->m_context;
        installBundleFromDisk(context.store, context.state, *id, bundle)
            .then(context.mainThread,
                  [self, id = *id](const ModuleManifest& manifest) {
                      self->m_installedAny = true;
                      self->m_output += id + QLatin1Char(' ') + manifest.version() +
                                        QStringLiteral(": ") +
                                        Loc::t(LocKey::appsInstalledSection, self->language()) +
                                        QLatin1Char('\n');
                      installNext(self);
                  })
            .onFailed(context.mainThread, [self, id = *id, bundle](const std::exception& error) {
                const auto* install = dynamic_cast<const InstallError*>(&error);
                SystemLog::write(
                    QStringLiteral("Ovrel: cài module ") + id + QStringLiteral(" từ file lỗi: ") +
                    (install ? install->description() : QString::fromUtf8(error.what())));
                self->m_failed = true;
                self->m_errors += bundle + QStringLiteral(": ") +
                                  InstallFailureText::forInstall(error, self->language()) +
                                  QLatin1Char('\n');
                installNext(self);
            });
    }

    AppLanguage language() const { return m_context.language(); }

    void finish() {
        if (m_installedAny && m_context.modulesChanged)
            m_context.modulesChanged();
        m_promise.addResult(CommandLineOutcome{m_failed ? ExitStatus::failure : ExitStatus::success,
                                               m_output, m_errors});
        m_promise.finish();
    }

    HubCommandContext& m_context;
    const QStringList m_bundles;
    qsizetype m_next = 0;
    bool m_installedAny = false;
    bool m_failed = false;
    QString m_output;
    QString m_errors;
    QPromise<CommandLineOutcome> m_promise;
};

} // namespace

HubCommand installCommand() {
    HubCommand command;
    command.name = QStringLiteral("install");
    command.synopsis = QStringLiteral("BUNDLE...");
    command.summary = QStringLiteral("install signed module bundles (.app directories)");
    command.minArguments = 1;
    command.maxArguments = -1;
    command.run = [](const CommandInvocation& invocation, HubCommandContext& context) {
        QStringList bundles;
        for (const QString& bundle : invocation.arguments)
            bundles.append(invocation.absolutePath(bundle));
        return BundleInstalls::start(context, std::move(bundles));
    };
    return command;
}

} // namespace ovrel
