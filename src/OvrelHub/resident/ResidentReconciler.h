#pragma once

#include "OvrelModuleKit/manifest/ModuleMode.h"

#include <QList>
#include <QSet>
#include <QString>

namespace ovrel {

// One step of bringing the agents in line with what the modules want.
struct ResidentAction {
    enum class Kind { registerAgent, unregisterAgent, leaveAlone };
    Kind kind;
    QString id;

    static ResidentAction registerAgent(QString id) { return {Kind::registerAgent, std::move(id)}; }
    static ResidentAction unregisterAgent(QString id) {
        return {Kind::unregisterAgent, std::move(id)};
    }
    static ResidentAction leaveAlone(QString id) { return {Kind::leaveAlone, std::move(id)}; }

    bool operator==(const ResidentAction&) const = default;
};

// Compares the agents the installed modules want with those that exist.
namespace ResidentReconciler {

struct Module {
    QString id;
    ModuleMode mode;
    bool residentEnabled;
};

// A module wants an agent when it is resident and enabled: register what is
// wanted and missing, unregister what exists and is not wanted, and every
// agent of a module not in the list (an orphan). Sorted by id, stably.
QList<ResidentAction> plan(const QList<Module>& modules, const QSet<QString>& registered);

} // namespace ResidentReconciler

} // namespace ovrel
