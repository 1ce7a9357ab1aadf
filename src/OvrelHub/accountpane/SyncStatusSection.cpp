#include "OvrelHub/accountpane/SyncStatusSection.h"

#include "OvrelConfig/Loc.h"
#include "OvrelHub/account/SyncService.h"
#include "OvrelHub/settings/PaneStyle.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace ovrel {

SyncStatusSection::SyncStatusSection(SyncService& sync, AppLanguage lang, QWidget* parent)
    : QGroupBox(Loc::t(LocKey::sync, lang), parent) {
    setObjectName(QStringLiteral("syncSection"));
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(8);
    const bool enabled = sync.syncEnabled();

    auto* cloud = new QCheckBox(Loc::t(LocKey::cloudSync, lang));
    cloud->setObjectName(QStringLiteral("cloudSync"));
    cloud->setChecked(enabled);
    connect(cloud, &QCheckBox::toggled, &sync, &SyncService::setSyncEnabled);
    layout->addWidget(cloud);

    auto* now = new QPushButton(Loc::t(LocKey::syncNow, lang));
    now->setObjectName(QStringLiteral("syncNow"));
    now->setEnabled(enabled);
    connect(now, &QPushButton::clicked, &sync, &SyncService::syncNow);
    auto* nowRow = new QHBoxLayout();
    nowRow->addWidget(now);
    nowRow->addStretch(1);
    layout->addLayout(nowRow);

    auto* shared = new QCheckBox(Loc::t(LocKey::sharedAcrossPlatforms, lang));
    shared->setObjectName(QStringLiteral("sharedAcrossPlatforms"));
    shared->setChecked(sync.sharedAcrossPlatforms());
    shared->setEnabled(enabled);
    connect(shared, &QCheckBox::toggled, &sync, &SyncService::setSharedAcrossPlatforms);
    layout->addWidget(shared);
    layout->addWidget(PaneStyle::secondaryLabel(Loc::t(LocKey::sharedAcrossPlatformsDesc, lang),
                                                PaneStyle::captionFont(font())));

    const QFont caption = PaneStyle::captionFont(font());
    for (const SyncStream& stream : sync.streams()) {
        const QString key = sync.effectiveKey(stream);
        auto* row = new QHBoxLayout();
        auto* label = new QLabel(Loc::t(stream.statusLabel, lang));
        label->setFont(caption);
        auto* value = new QLabel(statusText(sync.status(key), lang));
        value->setObjectName(QStringLiteral("status:") + stream.key);
        value->setFont(caption);
        row->addWidget(label, 1);
        row->addWidget(value);
        layout->addLayout(row);
        if (!sync.hasConflict(key))
            continue;
        QLabel* conflict = PaneStyle::warningLabel(
            Loc::format(LocKey::conflictDescFormat, lang, {Loc::t(stream.statusLabel, lang)}),
            font());
        conflict->setObjectName(QStringLiteral("conflict:") + stream.key);
        layout->addWidget(conflict);
        auto* choices = new QHBoxLayout();
        for (const bool keepCloud : {true, false}) {
            auto* choice =
                new QPushButton(Loc::t(keepCloud ? LocKey::keepCloud : LocKey::keepThisDevice, lang));
            choice->setObjectName((keepCloud ? QStringLiteral("keepCloud:")
                                             : QStringLiteral("keepThisDevice:")) +
                                  stream.key);
            connect(choice, &QPushButton::clicked, &sync,
                    [&sync, key, keepCloud] { sync.resolveConflict(key, keepCloud); });
            choices->addWidget(choice);
        }
        choices->addStretch(1);
        layout->addLayout(choices);
    }
}

QString SyncStatusSection::statusText(SyncStatus status, AppLanguage lang) {
    switch (status) {
    case SyncStatus::idle:
        return QStringLiteral("—");
    case SyncStatus::synced:
        return Loc::t(LocKey::syncStatusSynced, lang);
    case SyncStatus::conflict:
        return Loc::t(LocKey::syncStatusConflict, lang);
    case SyncStatus::networkError:
        return Loc::t(LocKey::syncStatusNetworkError, lang);
    }
    return QStringLiteral("—");
}

} // namespace ovrel
