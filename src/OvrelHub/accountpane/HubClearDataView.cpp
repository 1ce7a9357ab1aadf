#include "OvrelHub/accountpane/HubClearDataView.h"

#include "OvrelConfig/Loc.h"
#include "OvrelHub/accountpane/AccountTabServices.h"
#include "OvrelHub/settings/PaneStyle.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace ovrel {

namespace {
constexpr int kWidth = 480;
constexpr int kPadding = 24;
constexpr int kSpacing = 16;

bool offers(const QList<EditionAction>& actions, ClearDataAction action) {
    return std::any_of(actions.begin(), actions.end(),
                       [action](const EditionAction& a) { return a.action == action; });
}
} // namespace

HubClearDataView::HubClearDataView(AccountTabServices& services, bool isSignedIn,
                                   AppLanguage language, QWidget* parent)
    : QDialog(parent), m_lang(language),
      m_deletion({services.auth, services.sync, services.sessions, services.client,
                  services.apiBase, services.extraActions, services.onLocalStatsClear}) {
    setObjectName(QStringLiteral("clearDataSheet"));
    setWindowTitle(Loc::t(LocKey::clearDataTitle, m_lang));
    setWindowModality(Qt::WindowModal);
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedWidth(kWidth);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    layout->setSpacing(kSpacing);

    auto* title = new QLabel(Loc::t(LocKey::clearDataTitle, m_lang));
    title->setFont(PaneStyle::titleFont(font()));
    layout->addWidget(title);
    auto* intro = new QLabel(Loc::t(LocKey::clearDataIntro, m_lang));
    intro->setWordWrap(true);
    layout->addWidget(intro);

    if (offers(services.extraActions, ClearDataAction::submissions))
        m_submissions =
            addToggle(layout, LocKey::clearSubmissions, LocKey::clearSubmissionsDesc, true);
    if (offers(services.extraActions, ClearDataAction::stats))
        m_stats = addToggle(layout, LocKey::clearStatsToggle, LocKey::clearStatsToggleDesc, true);
    m_sync = addToggle(layout, LocKey::clearSyncToggle, LocKey::clearSyncToggleDesc, isSignedIn);
    if (!isSignedIn)
        layout->addWidget(PaneStyle::secondaryLabel(Loc::t(LocKey::signInRequiredCaption, m_lang),
                                                    PaneStyle::captionFont(font())));
    m_account =
        addToggle(layout, LocKey::clearAccountToggle, LocKey::clearAccountToggleDesc, isSignedIn);
    m_account->setStyleSheet(QStringLiteral("QCheckBox { color: #d70015; }"));
    // The account takes the statistics and the synced data with it.
    connect(m_account, &QCheckBox::toggled, this, [this](bool on) {
        if (!on)
            return;
        if (m_stats)
            m_stats->setChecked(true);
        m_sync->setChecked(true);
    });

    m_results = new QWidget();
    m_resultsLayout = new QVBoxLayout(m_results);
    m_resultsLayout->setContentsMargins(0, 0, 0, 0);
    m_results->setVisible(false);
    layout->addWidget(m_results);

    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    m_cancel = new QPushButton(Loc::t(LocKey::cancel, m_lang));
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(m_cancel);
    m_delete = new QPushButton(Loc::t(LocKey::delete_, m_lang));
    connect(m_delete, &QPushButton::clicked, this, &HubClearDataView::confirmAndDelete);
    buttons->addWidget(m_delete);
    layout->addLayout(buttons);

    connect(&m_deletion, &ClearDataDeletion::finished, this, &HubClearDataView::showResults);
}

QCheckBox* HubClearDataView::addToggle(QVBoxLayout* layout, LocKey label, LocKey description,
                                       bool enabled) {
    auto* toggle = new QCheckBox(Loc::t(label, m_lang));
    toggle->setEnabled(enabled);
    layout->addWidget(toggle);
    QLabel* help =
        PaneStyle::secondaryLabel(Loc::t(description, m_lang), PaneStyle::captionFont(font()));
    help->setContentsMargins(24, 0, 0, 0);
    layout->addWidget(help);
    return toggle;
}

QCheckBox* HubClearDataView::toggle(ClearDataAction action) const {
    switch (action) {
    case ClearDataAction::submissions:
        return m_submissions;
    case ClearDataAction::stats:
        return m_stats;
    case ClearDataAction::sync:
        return m_sync;
    case ClearDataAction::account:
        return m_account;
    }
    return nullptr;
}

ClearDataDeletion::Choices HubClearDataView::choices() const {
    auto on = [](const QCheckBox* box) { return box && box->isEnabled() && box->isChecked(); };
    return {on(m_submissions), on(m_stats), on(m_sync), on(m_account)};
}

void HubClearDataView::confirmAndDelete() {
    auto* box = new QMessageBox(this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setIcon(QMessageBox::Warning);
    box->setText(Loc::t(LocKey::clearDataConfirmTitle, m_lang));
    box->setInformativeText(Loc::t(LocKey::clearDataConfirmMessage, m_lang));
    QPushButton* confirm =
        box->addButton(Loc::t(LocKey::delete_, m_lang), QMessageBox::DestructiveRole);
    box->addButton(Loc::t(LocKey::cancel, m_lang), QMessageBox::RejectRole);
    box->setDefaultButton(confirm);
    connect(box, &QMessageBox::buttonClicked, this, [this, confirm](QAbstractButton* clicked) {
        if (clicked == confirm)
            executeDeletion();
    });
    m_confirmation = box;
    box->open();
}

void HubClearDataView::executeDeletion() {
    if (!m_deletion.execute(choices()))
        return;
    m_delete->setEnabled(false);
    m_lines.clear();
    showResults();
}

void HubClearDataView::showResults() {
    m_delete->setEnabled(!m_deletion.isDeleting());
    while (QLayoutItem* item = m_resultsLayout->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    m_lines.clear();
    for (const ClearDataDeletion::Result& result : m_deletion.results()) {
        const QString label = Loc::t(result.label, m_lang);
        const QString outcome =
            Loc::t(result.succeeded ? LocKey::clearDataSuccess : LocKey::clearDataFailure, m_lang);
        m_lines.append({label, outcome});
        auto* row = new QWidget();
        auto* line = new QHBoxLayout(row);
        line->setContentsMargins(0, 0, 0, 0);
        line->addWidget(new QLabel(label), 1);
        QLabel* value = PaneStyle::secondaryLabel(outcome, font());
        if (!result.succeeded)
            PaneStyle::setWarning(*value, true);
        line->addWidget(value);
        m_resultsLayout->addWidget(row);
    }
    m_results->setVisible(!m_lines.isEmpty());
    adjustSize();
    if (!m_deletion.isDeleting() && !m_lines.isEmpty())
        emit resultsShown();
}

QList<QPair<QString, QString>> HubClearDataView::resultLines() const {
    return m_lines;
}

} // namespace ovrel
