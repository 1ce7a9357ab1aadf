#include "OvrelHub/resident/ResidentAgentReconciliation.h"

#include "OvrelHub/resident/ResidentErrorText.h"
#include "Platform/system/SystemLog.h"

namespace ovrel::ResidentAgentReconciliation {

namespace {

void registerAgent(const InstalledPair& pair, ResidentModuleService& service) {
    const QString& id = pair.module.id;
    try {
        service.registerModule(id, service.paths().bundle(id, pair.module.appName));
        SystemLog::write(QStringLiteral("Ovrel: đã bật chạy nền cho module ") + id);
    } catch (...) {
        SystemLog::write(QStringLiteral("Ovrel: không bật được chạy nền cho module ") + id +
                         QStringLiteral(": ") + ResidentErrorText::current());
    }
}

void unregisterAgent(const QString& id, ResidentModuleService& service) {
    try {
        service.unregisterModule(id);
        SystemLog::write(QStringLiteral("Ovrel: đã tắt chạy nền cho module ") + id);
    } catch (...) {
        SystemLog::write(QStringLiteral("Ovrel: không tắt được chạy nền cho module ") + id +
                         QStringLiteral(": ") + ResidentErrorText::current());
    }
}

} // namespace

QList<ResidentAction> run(const QList<InstalledPair>& installed, ResidentModuleService& service) {
    service.loadAgentsAtStart();
    QList<ResidentReconciler::Module> modules;
    QSet<QString> ids;
    for (const InstalledPair& pair : installed) {
        modules.append({pair.module.id, pair.manifest.mode(), pair.module.residentEnabled});
        ids.insert(pair.module.id);
    }
    const QList<ResidentAction> actions =
        ResidentReconciler::plan(modules, service.discoverRegistered(ids));
    for (const ResidentAction& action : actions) {
        switch (action.kind) {
        case ResidentAction::Kind::registerAgent:
            for (const InstalledPair& pair : installed) {
                if (pair.module.id == action.id) {
                    registerAgent(pair, service);
                    break;
                }
            }
            break;
        case ResidentAction::Kind::unregisterAgent:
            unregisterAgent(action.id, service);
            break;
        case ResidentAction::Kind::leaveAlone:
            break;
        }
    }
    return actions;
}

} // namespace ovrel::ResidentAgentReconciliation
