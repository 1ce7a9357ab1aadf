#include "OvrelHub/accountpane/AccountTab.h"

#include "OvrelConfig/Loc.h"
#include "OvrelHub/account/AuthService.h"
#include "OvrelHub/account/SessionLostNotifier.h"
#include "OvrelHub/account/SessionStore.h"
#include "OvrelHub/account/SyncService.h"
#include "OvrelHub/accountpane/AccountTabServices.h"
#include "OvrelHub/accountpane/AvatarImage.h"
#include "OvrelHub/accountpane/HubClearDataView.h"
#include "OvrelHub/accountpane/SyncStatusSection.h"
#include "OvrelHub/settings/PaneStyle.h"
#include "OvrelHub/storepane/RemoteImageCache.h"
#include "Platform/process/Workspace.h"
#include "Platform/tray/SymbolIcons.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace ovrel {

namespace {

QPushButton* named(QPushButton* button, const char* name) {
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

// A button that keeps its own width in a column.
QWidget* leading(QWidget* widget) {
    auto* row = new QWidget();
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(widget);
    layout->addStretch(1);
    return row;
}

} // namespace

AccountTab::AccountTab(AccountTabServices& services, Workspace& workspace,
                       RemoteImageCache* images, AppLanguage language, QWidget* parent)
    : QWidget(parent), m_services(services), m_workspace(workspace), m_images(images),
      m_lang(language) {
    setObjectName(QStringLiteral("accountPane"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    AuthService& auth = m_services.auth;
    SyncService& sync = m_services.sync;
    for (auto signal : {&AuthService::currentUserSet, &AuthService::errorMessageChanged,
                        &AuthService::busyChanged})
        connect(&auth, signal, this, &AccountTab::scheduleRedraw);
    for (auto signal : {&SyncService::syncEnabledChanged,
                        &SyncService::sharedAcrossPlatformsChanged})
        connect(&sync, signal, this, &AccountTab::scheduleRedraw);
    for (auto signal : {&SyncService::statusChanged, &SyncService::conflictChanged})
        connect(&sync, signal, this, &AccountTab::scheduleRedraw);
    connect(&m_services.sessionLost, &SessionLostNotifier::reasonChanged, this,
            &AccountTab::scheduleRedraw);
    redraw();
    // Signed out, the tab's main action is signing in: it takes the focus
    // once the tab is in its window.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (auto* signIn = part<QPushButton>(QStringLiteral("signInGoogle")))
                signIn->setFocus();
        },
        Qt::QueuedConnection);
    // The profile shown is refreshed whenever the tab is, as at launch.
    if (m_services.sessions.state().kind() == SecretLoad::Kind::ok)
        auth.me();
}

void AccountTab::scheduleRedraw() {
    // The button that caused the change may still be on the stack.
    if (m_redrawPending)
        return;
    m_redrawPending = true;
    QMetaObject::invokeMethod(this, &AccountTab::redraw, Qt::QueuedConnection);
}

void AccountTab::redraw() {
    m_redrawPending = false;
    QWidget* focused = QApplication::focusWidget();
    const QString focusName =
        m_content && focused && m_content->isAncestorOf(focused) ? focused->objectName()
                                                                  : QString();
    auto* content = new QWidget();
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(16);
    layout->addWidget(accountSection());
    if (m_services.auth.currentUser())
        layout->addWidget(new SyncStatusSection(m_services.sync, m_lang));
    layout->addWidget(otherSection());
    layout->addStretch(1);
    if (m_content) {
        delete this->layout()->replaceWidget(m_content, content); // the old item is ours
        m_content->hide();
        m_content->deleteLater();
    } else {
        this->layout()->addWidget(content);
    }
    m_content = content;
    if (!focusName.isEmpty()) {
        if (auto* again = content->findChild<QWidget*>(focusName))
            again->setFocus();
    }
    emit redrawn();
}

QWidget* AccountTab::accountSection() {
    QGroupBox* box = PaneStyle::section(Loc::t(LocKey::account, m_lang));
    auto* layout = static_cast<QVBoxLayout*>(box->layout());
    if (m_services.sessionLost.reason())
        layout->addWidget(sessionLostNotice());
    layout->addWidget(m_services.auth.currentUser() ? userRow() : signInButtons());
    if (const auto& error = m_services.auth.errorMessage()) {
        QLabel* label = PaneStyle::secondaryLabel(*error, PaneStyle::captionFont(font()));
        label->setObjectName(QStringLiteral("authError"));
        label->setStyleSheet(QStringLiteral("color: #d70015;"));
        layout->addWidget(label);
    }
    return box;
}

QWidget* AccountTab::sessionLostNotice() {
    auto* notice = new QWidget();
    notice->setObjectName(QStringLiteral("sessionLost"));
    auto* layout = new QVBoxLayout(notice);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    auto* titleRow = new QHBoxLayout();
    auto* symbol = new QLabel();
    const int side = QFontMetrics(PaneStyle::captionFont(font())).height();
    symbol->setPixmap(
        SymbolIcons::icon(QStringLiteral("exclamationmark.triangle.fill")).pixmap(side, side));
    titleRow->addWidget(symbol);
    QLabel* title = PaneStyle::warningLabel(Loc::t(LocKey::sessionLostTitle, m_lang), font());
    titleRow->addWidget(title, 1);
    layout->addLayout(titleRow);
    layout->addWidget(
        PaneStyle::secondaryLabel(SessionLostNotifier::body(*m_services.sessionLost.reason()),
                                  PaneStyle::captionFont(font())));
    QPushButton* dismiss =
        named(new QPushButton(Loc::t(LocKey::sessionLostDismiss, m_lang)), "sessionLostDismiss");
    connect(dismiss, &QPushButton::clicked, &m_services.sessionLost, &SessionLostNotifier::clear);
    layout->addWidget(leading(dismiss));
    return notice;
}

QWidget* AccountTab::userRow() {
    const AuthUser& user = *m_services.auth.currentUser();
    auto* widget = new QWidget();
    auto* column = new QVBoxLayout(widget);
    column->setContentsMargins(0, 0, 0, 0);
    auto* row = new QHBoxLayout();
    row->setSpacing(12);
    const QUrl avatar = user.avatar ? QUrl(*user.avatar, QUrl::StrictMode) : QUrl();
    if (avatar.isValid() && !avatar.scheme().isEmpty()) {
        auto* picture = new AvatarImage(AvatarImage::kSide);
        picture->setObjectName(QStringLiteral("avatar"));
        row->addWidget(picture);
        if (m_images)
            m_images->request(avatar, picture,
                              [picture](const QImage& image) { picture->showImage(image); });
    }
    auto* names = new QVBoxLayout();
    names->setSpacing(2);
    auto* name = new QLabel(user.name ? *user.name : Loc::t(LocKey::noName, m_lang));
    name->setObjectName(QStringLiteral("userName"));
    name->setFont(PaneStyle::headlineFont(font()));
    name->setTextFormat(Qt::PlainText);
    names->addWidget(name);
    if (user.email) {
        QLabel* email = PaneStyle::secondaryLabel(*user.email, PaneStyle::captionFont(font()));
        email->setObjectName(QStringLiteral("userEmail"));
        email->setTextFormat(Qt::PlainText);
        names->addWidget(email);
    }
    row->addLayout(names, 1);
    column->addLayout(row);
    QPushButton* logOut = named(new QPushButton(Loc::t(LocKey::logOut, m_lang)), "logOut");
    connect(logOut, &QPushButton::clicked, &m_services.auth, &AuthService::logout);
    column->addWidget(leading(logOut));
    return widget;
}

QWidget* AccountTab::signInButtons() {
    auto* widget = new QWidget();
    auto* layout = new QVBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(PaneStyle::secondaryLabel(Loc::t(LocKey::signInToSyncDesc, m_lang),
                                                PaneStyle::captionFont(font())));
    struct Provider {
        LocKey label;
        const char* symbol;
        const char* name;
        const char* provider;
    };
    for (const Provider& p :
         {Provider{LocKey::signInWithGoogle, "globe", "signInGoogle", "google"},
          Provider{LocKey::signInWithDiscord, "bubble.left.and.bubble.right", "signInDiscord",
                   "discord"}}) {
        QPushButton* button = named(new QPushButton(Loc::t(p.label, m_lang)), p.name);
        button->setIcon(SymbolIcons::icon(QString::fromLatin1(p.symbol)));
        const QString provider = QString::fromLatin1(p.provider);
        connect(button, &QPushButton::clicked, &m_services.auth,
                [this, provider] { m_services.auth.startLogin(provider); });
        layout->addWidget(leading(button));
    }
    if (m_services.auth.isBusy()) {
        auto* busy = new QProgressBar();
        busy->setObjectName(QStringLiteral("signInBusy"));
        busy->setRange(0, 0); // no end known: the exchange answers when it does
        busy->setMaximumWidth(120);
        busy->setTextVisible(false);
        layout->addWidget(busy);
    }
    return widget;
}

QWidget* AccountTab::otherSection() {
    auto* widget = new QWidget();
    auto* layout = new QVBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    QPushButton* clear =
        named(new QPushButton(Loc::t(LocKey::clearDataTrigger, m_lang)), "clearDataTrigger");
    connect(clear, &QPushButton::clicked, this, &AccountTab::openClearData);
    layout->addWidget(leading(clear));
    QPushButton* privacy =
        named(new QPushButton(Loc::t(LocKey::privacyPolicyLink, m_lang)), "privacyPolicyLink");
    privacy->setFlat(true);
    connect(privacy, &QPushButton::clicked, this, &AccountTab::openPrivacyPolicy);
    layout->addWidget(leading(privacy));
    return widget;
}

void AccountTab::openClearData() {
    if (m_sheet) {
        m_sheet->raise();
        return;
    }
    m_sheet = new HubClearDataView(m_services, m_services.auth.currentUser().has_value(), m_lang,
                                   this);
    m_sheet->open();
}

void AccountTab::openPrivacyPolicy() {
    if (!m_services.privacyPage)
        return;
    if (const std::optional<QUrl> page = m_services.privacyPage(m_lang))
        m_workspace.openURL(*page);
}

} // namespace ovrel
