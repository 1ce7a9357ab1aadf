#pragma once

#include "OvrelConfig/ClearDataPlan.h"
#include "OvrelConfig/LocKey.h"

#include <QList>
#include <QObject>
#include <QString>
#include <functional>

namespace ovrel {

class AuthService;
class ServiceClient;
class SessionStore;
class SyncService;

// A category of data an edition deletes itself (correction pairs, statistics).
struct EditionAction {
    ClearDataAction action = ClearDataAction::submissions; // submissions or stats
    LocKey labelKey = LocKey::clearSubmissions;
    std::function<void(std::function<void(bool succeeded)>)> perform;
};

// The "Clear my data" sheet's work: deletes the chosen server data, every
// category at once, reports one result per category, then cleans up locally
// (signs out after the account is gone, resets the sync bookkeeping after the
// synced data is gone). A failed category changes nothing locally. Main
// thread only; borrows its collaborators.
class ClearDataDeletion : public QObject {
    Q_OBJECT
public:
    struct Choices {
        bool submissions = false;
        bool stats = false;
        bool sync = false;
        bool account = false;
    };
    struct Result {
        ClearDataAction action;
        LocKey label;
        bool succeeded;
        bool operator==(const Result&) const = default;
    };
    struct Collaborators {
        AuthService& auth;
        SyncService& sync;
        const SessionStore& sessions;
        ServiceClient& client;
        std::function<QString()> apiBase;
        QList<EditionAction> extraActions = {};
        std::function<void()> onLocalStatsClear = {};
    };

    explicit ClearDataDeletion(Collaborators collaborators, QObject* parent = nullptr);

    // Starts the deletions; false (nothing sent) when the plan is empty or a
    // run is still under way.
    bool execute(const Choices& choices);

    bool isDeleting() const { return m_deleting; }
    // In completion order; empty while deleting.
    const QList<Result>& results() const { return m_results; }

signals:
    void finished();

private:
    using Done = std::function<void(bool)>;
    void deleteAuthed(const QString& path, Done done);
    void perform(ClearDataAction action, Done done);
    LocKey labelOf(ClearDataAction action) const;
    const EditionAction* editionAction(ClearDataAction action) const;
    void finish(const Choices& choices, const QList<QPair<ClearDataAction, bool>>& outcomes);

    Collaborators m_collaborators;
    bool m_deleting = false;
    QList<Result> m_results;
};

} // namespace ovrel
