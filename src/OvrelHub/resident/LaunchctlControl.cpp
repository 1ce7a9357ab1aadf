#include "OvrelHub/resident/LaunchctlControl.h"

#include "OvrelHub/resident/ResidentError.h"
#include "Platform/process/ToolProcess.h"

#include <unistd.h>

namespace ovrel {

namespace {
// What launchctl answers when asked to unload an agent it does not know.
constexpr int kNotLoaded = 3;
} // namespace

LaunchctlControl::LaunchctlControl(QString launchctl) : m_launchctl(std::move(launchctl)) {}

QString LaunchctlControl::domain() {
    return QStringLiteral("gui/") + QString::number(::getuid());
}

int LaunchctlControl::run(const QStringList& arguments) const {
    return ToolProcess::run(m_launchctl, arguments);
}

void LaunchctlControl::bootstrap(const QString& plistPath, const QString& /*label*/) {
    const int status = run({QStringLiteral("bootstrap"), domain(), plistPath});
    if (status != 0)
        throw ResidentError::launchctlFailed(status);
}

void LaunchctlControl::bootout(const QString& label) {
    const int status = run({QStringLiteral("bootout"), domain() + QLatin1Char('/') + label});
    if (status != 0 && status != kNotLoaded)
        throw ResidentError::launchctlFailed(status);
}

bool LaunchctlControl::isLoaded(const QString& label) {
    try {
        return run({QStringLiteral("print"), domain() + QLatin1Char('/') + label}) == 0;
    } catch (const ToolProcess::LaunchError&) {
        return false;
    }
}

} // namespace ovrel
