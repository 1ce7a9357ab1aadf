#include "OvrelModuleKit/launch/ModuleApplicationService.h"

#include "Platform/process/ModuleBusName.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>

namespace ovrel {

namespace {

// How long a second instance waits for the first one to answer.
constexpr int kActivateTimeoutMs = 5000;

} // namespace

ModuleApplicationService::ModuleApplicationService(QString bundleIdentifier,
                                                   std::function<void()> onActivate,
                                                   QObject* parent)
    : QObject(parent), m_busName(ModuleBusName::forBundleIdentifier(bundleIdentifier)),
      m_onActivate(std::move(onActivate)) {}

ModuleApplicationService::~ModuleApplicationService() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (m_owned)
        bus.unregisterService(*m_busName);
    if (m_exported)
        bus.unregisterObject(ModuleBusName::objectPath(*m_busName));
}

ModuleApplicationService::Registration ModuleApplicationService::registerOnSessionBus() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!m_busName || !bus.isConnected())
        return Registration::unavailable;
    // The object is in place before the name appears, so no call that the
    // name attracts finds nobody at home.
    if (!m_exported)
        m_exported = bus.registerObject(ModuleBusName::objectPath(*m_busName), this,
                                        QDBusConnection::ExportScriptableSlots);
    if (!m_exported)
        return Registration::unavailable;
    if (!m_owned)
        m_owned = bus.registerService(*m_busName);
    if (m_owned)
        return Registration::owned;
    if (bus.interface() && bus.interface()->isServiceRegistered(*m_busName).value())
        return Registration::heldByAnotherInstance;
    return Registration::unavailable;
}

bool ModuleApplicationService::activateOtherInstance() const {
    if (!m_busName)
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(
        *m_busName, ModuleBusName::objectPath(*m_busName),
        QLatin1String(ModuleBusName::kApplicationInterface), QStringLiteral("Activate"));
    call << QVariantMap();
    const QDBusMessage reply =
        QDBusConnection::sessionBus().call(call, QDBus::Block, kActivateTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage;
}

void ModuleApplicationService::Activate(const QVariantMap& platformData) {
    Q_UNUSED(platformData);
    if (m_onActivate)
        m_onActivate();
}

} // namespace ovrel
