#include "OvrelHub/storepane/StoreDetailPane.h"

#include "OvrelConfig/Loc.h"
#include "OvrelHub/settings/PaneStyle.h"
#include "OvrelHub/storepane/InstallProgressText.h"
#include "OvrelHub/storepane/StoreIcon.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>

namespace ovrel {

namespace {
constexpr int kIconSide = 64;
constexpr int kScreenshotHeight = 160;

QPushButton* button(const QString& text, QWidget* owner, void (StoreDetailPane::*signal)()) {
    auto* created = new QPushButton(text);
    QObject::connect(created, &QPushButton::clicked, static_cast<StoreDetailPane*>(owner), signal);
    return created;
}
} // namespace

StoreDetailPane::StoreDetailPane(const Inputs& inputs, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("storeDetail"));
    const AppLanguage lang = inputs.language;
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);

    m_back = button(Loc::t(LocKey::appsBack, lang), this, &StoreDetailPane::back);
    m_back->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
    auto* backKeys = new QAction(this);
    backKeys->setShortcuts({QKeySequence(Qt::ALT | Qt::Key_Left), QKeySequence(Qt::Key_Backspace)});
    backKeys->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(backKeys, &QAction::triggered, this, &StoreDetailPane::back);
    addAction(backKeys);
    auto* backRow = new QHBoxLayout();
    backRow->addWidget(m_back);
    backRow->addStretch(1);
    layout->addLayout(backRow);

    auto* header = new QHBoxLayout();
    header->setSpacing(12);
    m_icon = new StoreIcon(kIconSide);
    header->addWidget(m_icon);
    auto* title = new QLabel(inputs.name);
    title->setFont(PaneStyle::titleFont(font()));
    title->setWordWrap(true);
    header->addWidget(title, 1);
    layout->addLayout(header);

    layout->addWidget(actionRow(inputs));
    if (!inputs.failure.isEmpty())
        layout->addWidget(PaneStyle::warningLabel(inputs.failure, font()));

    if (inputs.installed) {
        auto* row = new QHBoxLayout();
        m_openSettings =
            button(Loc::t(LocKey::appsOpenSettings, lang), this, &StoreDetailPane::openSettings);
        m_openApp = button(Loc::t(LocKey::appsOpenApp, lang), this, &StoreDetailPane::openApp);
        row->addWidget(m_openSettings);
        row->addWidget(m_openApp);
        row->addStretch(1);
        layout->addLayout(row);
    }

    if (!inputs.description.isEmpty()) {
        auto* description = new QLabel(inputs.description);
        description->setWordWrap(true);
        description->setTextFormat(Qt::PlainText);
        description->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(description);
    }
    if (inputs.entry.screenshots && !inputs.entry.screenshots->isEmpty())
        layout->addWidget(screenshotRow(*inputs.entry.screenshots));
    if (inputs.entry.latest) {
        m_size = PaneStyle::secondaryLabel(
            Loc::format(LocKey::appsDownloadSizeFormat, lang,
                        {InstallProgressText::byteCount(inputs.entry.latest->sizeBytes, lang)}),
            PaneStyle::captionFont(font()));
        layout->addWidget(m_size);
    }
    layout->addStretch(1);
    // The page's main action takes the focus: Space installs or updates.
    QPushButton* main = m_install ? m_install : m_update;
    setFocusProxy(main ? main : m_back);
}

QWidget* StoreDetailPane::actionRow(const Inputs& inputs) {
    const AppLanguage lang = inputs.language;
    auto* row = new QWidget();
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    m_caption = PaneStyle::secondaryLabel(QString(), font());
    layout->addWidget(m_caption, 1);
    m_cancel = button(Loc::t(LocKey::appsCancelDownload, lang), this, &StoreDetailPane::cancel);
    layout->addWidget(m_cancel);
    if (inputs.actions.install) {
        m_install = button(Loc::t(LocKey::appsInstall, lang), this, &StoreDetailPane::install);
        layout->addWidget(m_install);
    }
    if (inputs.actions.update) {
        m_update = button(Loc::t(LocKey::appsUpdate, lang), this, &StoreDetailPane::install);
        layout->addWidget(m_update);
    }
    if (inputs.actions.uninstall) {
        m_uninstall =
            button(Loc::t(LocKey::appsUninstall, lang), this, &StoreDetailPane::uninstall);
        layout->addWidget(m_uninstall);
    }
    m_caption->setText(inputs.actions.caption);
    setProgressText(inputs.progressText, inputs.canCancel);
    if (inputs.progressText.isEmpty())
        m_caption->setVisible(!inputs.actions.caption.isEmpty());
    return row;
}

void StoreDetailPane::setProgressText(const QString& text, bool canCancel) {
    if (!text.isEmpty()) {
        m_caption->setText(text);
        m_caption->setVisible(true);
    }
    m_cancel->setVisible(canCancel);
}

QWidget* StoreDetailPane::screenshotRow(const QStringList& addresses) {
    auto* strip = new QWidget();
    auto* layout = new QHBoxLayout(strip);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    for (const QString& address : addresses) {
        auto* shot = new QLabel();
        shot->setObjectName(QStringLiteral("screenshot"));
        shot->setProperty("address", address);
        shot->setFixedHeight(kScreenshotHeight);
        shot->setMinimumWidth(kScreenshotHeight);
        shot->setAutoFillBackground(true);
        shot->setBackgroundRole(QPalette::Midlight);
        layout->addWidget(shot);
        m_screenshots.append(shot);
    }
    layout->addStretch(1);
    auto* scroll = new QScrollArea();
    scroll->setWidget(strip);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setFixedHeight(kScreenshotHeight + scroll->horizontalScrollBar()->sizeHint().height());
    return scroll;
}

} // namespace ovrel
