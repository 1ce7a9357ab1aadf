#include "Platform/desktop/SessionBusApplication.h"

#include "Platform/desktop/CommandLineProgressSender.h"
#include "Platform/process/ModuleBusName.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QUrl>
#include <memory>

namespace ovrel {

namespace {

constexpr const char* kNotSupported = "org.freedesktop.DBus.Error.NotSupported";
constexpr const char* kInvalidArgs = "org.freedesktop.DBus.Error.InvalidArgs";
constexpr const char* kUnknownMethod = "org.freedesktop.DBus.Error.UnknownMethod";

const char* const kIntrospection = R"(  <interface name="org.freedesktop.Application">
    <method name="Activate">
      <arg type="a{sv}" name="platform_data" direction="in"/>
    </method>
    <method name="Open">
      <arg type="as" name="uris" direction="in"/>
      <arg type="a{sv}" name="platform_data" direction="in"/>
    </method>
    <method name="ActivateAction">
      <arg type="s" name="action_name" direction="in"/>
      <arg type="av" name="parameter" direction="in"/>
      <arg type="a{sv}" name="platform_data" direction="in"/>
    </method>
  </interface>
  <interface name="vn.ovrel.Hub">
    <method name="CommandLine">
      <arg type="as" name="arguments" direction="in"/>
      <arg type="s" name="working_directory" direction="in"/>
      <arg type="i" name="status" direction="out"/>
      <arg type="s" name="output" direction="out"/>
      <arg type="s" name="errors" direction="out"/>
    </method>
    <method name="CommandLineWithProgress">
      <arg type="as" name="arguments" direction="in"/>
      <arg type="s" name="working_directory" direction="in"/>
      <arg type="s" name="token" direction="in"/>
      <arg type="i" name="status" direction="out"/>
      <arg type="s" name="output" direction="out"/>
      <arg type="s" name="errors" direction="out"/>
    </method>
    <signal name="CommandLineProgress">
      <arg type="s" name="token"/>
      <arg type="s" name="text"/>
      <arg type="x" name="done"/>
      <arg type="x" name="total"/>
    </signal>
  </interface>
)";

} // namespace

SessionBusApplication::SessionBusApplication(const QString& desktopId, QDBusConnection bus,
                                             QObject* parent)
    : QDBusVirtualObject(parent), m_bus(std::move(bus)),
      m_busName(ModuleBusName::forBundleIdentifier(desktopId)) {}

SessionBusApplication::~SessionBusApplication() {
    if (m_owned)
        m_bus.unregisterService(*m_busName);
    if (m_exported)
        m_bus.unregisterObject(ModuleBusName::objectPath(*m_busName));
}

SessionBusApplication::Claim SessionBusApplication::claim() {
    if (!m_busName || !m_bus.isConnected())
        return Claim::unavailable;
    // The object is in place before the name appears, so a call the name
    // attracts always finds someone to answer it.
    if (!m_exported)
        m_exported = m_bus.registerVirtualObject(ModuleBusName::objectPath(*m_busName), this);
    if (!m_exported)
        return Claim::unavailable;
    if (!m_owned)
        m_owned = m_bus.registerService(*m_busName);
    if (m_owned)
        return Claim::owned;
    // Only the owner answers at the path; the loser takes its object back.
    m_bus.unregisterObject(ModuleBusName::objectPath(*m_busName));
    m_exported = false;
    if (m_bus.interface() && m_bus.interface()->isServiceRegistered(*m_busName).value())
        return Claim::heldByAnotherInstance;
    return Claim::unavailable;
}

QString SessionBusApplication::introspect(const QString& path) const {
    Q_UNUSED(path);
    return QString::fromLatin1(kIntrospection);
}

bool SessionBusApplication::handleMessage(const QDBusMessage& message,
                                          const QDBusConnection& connection) {
    if (message.type() != QDBusMessage::MethodCallMessage)
        return false;
    const bool application =
        message.interface() == QLatin1String(ModuleBusName::kApplicationInterface);
    if (!application && message.interface() != QLatin1String(kCommandLineInterface))
        return false;
    // The bus may hand calls over on its own thread; handlers run on ours.
    QMetaObject::invokeMethod(this, [this, message, connection, application] {
        if (application)
            handleApplicationCall(message, connection);
        else
            handleCommandLine(message, connection);
    });
    return true;
}

void SessionBusApplication::handleApplicationCall(const QDBusMessage& message,
                                                  const QDBusConnection& connection) {
    const QString member = message.member();
    const QString signature = message.signature();
    if (member == QLatin1String("Activate") && signature == QLatin1String("a{sv}")) {
        connection.send(message.createReply());
        if (m_onActivate)
            m_onActivate();
        return;
    }
    if (member == QLatin1String("Open") && signature == QLatin1String("asa{sv}")) {
        const QStringList uris = message.arguments().value(0).toStringList();
        connection.send(message.createReply());
        for (const QString& uri : uris) {
            const QUrl url(uri, QUrl::StrictMode);
            if (url.isValid() && !url.scheme().isEmpty() && m_onUrl)
                m_onUrl(url);
        }
        return;
    }
    if (member == QLatin1String("ActivateAction") && signature == QLatin1String("sava{sv}")) {
        connection.send(message.createErrorReply(QString::fromLatin1(kNotSupported),
                                                 QStringLiteral("no application actions")));
        return;
    }
    const bool known = member == QLatin1String("Activate") || member == QLatin1String("Open") ||
                       member == QLatin1String("ActivateAction");
    connection.send(message.createErrorReply(
        QString::fromLatin1(known ? kInvalidArgs : kUnknownMethod),
        QStringLiteral("no method %1 with signature %2").arg(member, signature)));
}

void SessionBusApplication::handleCommandLine(const QDBusMessage& message,
                                              const QDBusConnection& connection) {
    const bool plain = message.member() == QLatin1String("CommandLine") &&
                       message.signature() == QLatin1String("ass");
    const bool withProgress = message.member() == QLatin1String(kCommandLineWithProgress) &&
                              message.signature() == QLatin1String("asss");
    if (!plain && !withProgress) {
        connection.send(message.createErrorReply(QString::fromLatin1(kUnknownMethod),
                                                 QStringLiteral("no method %1 with signature %2")
                                                     .arg(message.member(), message.signature())));
        return;
    }
    if (!m_onCommandLine) {
        connection.send(message.createErrorReply(QString::fromLatin1(kNotSupported),
                                                 QStringLiteral("no command line here")));
        return;
    }
    const QList<QVariant> arguments = message.arguments();
    std::shared_ptr<CommandLineProgressSender> sender;
    CommandLineProgressSink progress;
    if (withProgress) {
        sender = std::make_shared<CommandLineProgressSender>(
            connection, message.service(), message.path(), arguments.value(2).toString());
        progress = [sender](const CommandLineProgress& report) { sender->report(report); };
    }
    // The reply goes out once, whenever the handler is done, after the last
    // progress report.
    auto pending = std::make_shared<std::optional<QDBusMessage>>(message);
    QDBusConnection bus = connection;
    m_onCommandLine(
        arguments.value(0).toStringList(), arguments.value(1).toString(),
        [pending, bus, sender](const CommandLineOutcome& outcome) mutable {
            if (!*pending)
                return;
            if (sender)
                sender->close();
            QDBusMessage reply =
                (*pending)->createReply({outcome.status, outcome.output, outcome.errors});
            pending->reset();
            bus.send(reply);
        },
        std::move(progress));
}

} // namespace ovrel
