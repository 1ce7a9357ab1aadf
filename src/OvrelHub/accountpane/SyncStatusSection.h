#pragma once

#include "OvrelConfig/AppLanguage.h"
#include "OvrelConfig/SyncDecision.h"

#include <QGroupBox>

namespace ovrel {

class SyncService;

// The account tab's "Sync" section, drawn once from the sync service's
// state: the cloud-sync switch, "Sync now" and the sharing switch (both off
// while sync is), then each stream's status under its effective key, with
// the conflict row and its two choices where there is a conflict.
class SyncStatusSection : public QGroupBox {
    Q_OBJECT
public:
    SyncStatusSection(SyncService& sync, AppLanguage language, QWidget* parent = nullptr);

    // "—", "synced", "conflict" or "network error".
    static QString statusText(SyncStatus status, AppLanguage language);
};

} // namespace ovrel
