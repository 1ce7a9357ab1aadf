#include "OvrelHub/account/ClearDataDeletion.h"

#include "OvrelHub/account/AuthService.h"
#include "OvrelHub/account/SessionStore.h"
#include "OvrelHub/account/SyncService.h"
#include "OvrelHub/shell/ServiceClient.h"
#include "OvrelHub/shell/ServiceEndpoints.h"

#include <QPointer>

namespace ovrel {

ClearDataDeletion::ClearDataDeletion(Collaborators collaborators, QObject* parent)
    : QObject(parent), m_collaborators(std::move(collaborators)) {}

const EditionAction* ClearDataDeletion::editionAction(ClearDataAction action) const {
    for (const EditionAction& entry : m_collaborators.extraActions) {
        if (entry.action == action)
            return &entry;
    }
    return nullptr;
}

LocKey ClearDataDeletion::labelOf(ClearDataAction action) const {
    switch (action) {
    case ClearDataAction::submissions:
    case ClearDataAction::stats:
        if (const EditionAction* entry = editionAction(action))
            return entry->labelKey;
        return action == ClearDataAction::submissions ? LocKey::clearSubmissions
                                                      : LocKey::clearStatsToggle;
    case ClearDataAction::sync:
        return LocKey::clearSyncToggle;
    case ClearDataAction::account:
        return LocKey::clearAccountToggle;
    }
    return LocKey::clearAccountToggle;
}

bool ClearDataDeletion::execute(const Choices& choices) {
    const QSet<ClearDataAction> plan =
        ClearDataPlan::actions(choices.submissions, choices.stats, choices.sync, choices.account);
    if (plan.isEmpty() || m_deleting)
        return false;
    m_deleting = true;
    m_results.clear();

    struct Run {
        qsizetype outstanding = 0;
        QList<QPair<ClearDataAction, bool>> outcomes;
    };
    auto run = std::make_shared<Run>();
    run->outstanding = plan.size();
    QPointer<ClearDataDeletion> self(this);
    for (const ClearDataAction action : plan) {
        perform(action, [self, run, action, choices](bool succeeded) {
            run->outcomes.append({action, succeeded});
            if (--run->outstanding == 0 && self)
                self->finish(choices, run->outcomes);
        });
    }
    return true;
}

void ClearDataDeletion::perform(ClearDataAction action, Done done) {
    switch (action) {
    case ClearDataAction::submissions:
    case ClearDataAction::stats:
        if (const EditionAction* entry = editionAction(action); entry && entry->perform)
            entry->perform(std::move(done));
        else
            done(false);
        return;
    case ClearDataAction::sync: {
        QPointer<ClearDataDeletion> self(this);
        SyncService::deleteAllSyncData(
            [self](const QString& path, Done pathDone) {
                if (self)
                    self->deleteAuthed(path, std::move(pathDone));
                else
                    pathDone(false);
            },
            std::move(done));
        return;
    }
    case ClearDataAction::account:
        deleteAuthed(QStringLiteral("/api/account"), std::move(done));
        return;
    }
}

void ClearDataDeletion::deleteAuthed(const QString& path, Done done) {
    const std::optional<QString> token = m_collaborators.sessions.token();
    const std::optional<QUrl> url = ServiceEndpoints::appended(m_collaborators.apiBase(), path);
    if (!token || !url) {
        done(false);
        return;
    }
    ServiceClient::Request request;
    request.method = "DELETE";
    request.url = *url;
    request.token = token;
    m_collaborators.client.send(request, this,
                                [done](const ServiceReply& reply) { done(reply.isStatus(200)); });
}

void ClearDataDeletion::finish(const Choices& choices,
                               const QList<QPair<ClearDataAction, bool>>& outcomes) {
    m_deleting = false;
    QSet<ClearDataAction> succeeded;
    for (const auto& [action, ok] : outcomes) {
        m_results.append({action, labelOf(action), ok});
        if (ok)
            succeeded.insert(action);
    }
    if (ClearDataPlan::shouldClearLocalStats(choices.stats, succeeded) &&
        m_collaborators.onLocalStatsClear)
        m_collaborators.onLocalStatsClear();
    if (succeeded.contains(ClearDataAction::account))
        m_collaborators.auth.logout();
    else if (succeeded.contains(ClearDataAction::sync))
        m_collaborators.sync.resetLocalSyncState();
    emit finished();
}

} // namespace ovrel
