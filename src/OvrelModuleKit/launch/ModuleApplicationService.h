#pragma once

#include <QObject>
#include <QString>
#include <QVariantMap>
#include <functional>
#include <optional>

namespace ovrel {

// A running module on the session bus: it owns the well-known name made from
// its bundle identifier and answers org.freedesktop.Application.Activate at
// the matching object path (ModuleBusName), which is how the hub brings a
// running module forward. One instance per process.
class ModuleApplicationService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")

public:
    enum class Registration {
        owned,                 // this process answers for the module
        heldByAnotherInstance, // the module already runs in another process
        unavailable,           // no session bus, or the bus refused the name
    };

    ModuleApplicationService(QString bundleIdentifier, std::function<void()> onActivate,
                             QObject* parent = nullptr);
    ~ModuleApplicationService() override;

    const std::optional<QString>& busName() const { return m_busName; }

    // Exports the interface, then claims the name without queueing for it.
    Registration registerOnSessionBus();

    // Asks the process that owns the name to come forward; true when it answered.
    bool activateOtherInstance() const;

public slots:
    Q_SCRIPTABLE void Activate(const QVariantMap& platformData);

private:
    std::optional<QString> m_busName;
    std::function<void()> m_onActivate;
    bool m_exported = false;
    bool m_owned = false;
};

} // namespace ovrel
