#include "OvrelHub/update/WhatsNewView.h"

#include "OvrelHub/settings/PaneStyle.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ovrel {

WhatsNewView::WhatsNewView(const WhatsNewContent& content, QWidget* parent)
    : QDialog(parent), m_content(content) {
    setWindowTitle(content.title);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedWidth(kWidth);

    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(16);
    layout->setContentsMargins(24, 24, 24, 24);

    auto* title = new QLabel(content.title);
    title->setFont(PaneStyle::titleFont(font()));
    layout->addWidget(title);

    auto* version = PaneStyle::secondaryLabel(content.version, PaneStyle::headlineFont(font()));
    layout->addWidget(version);

    if (content.date) {
        auto* date = PaneStyle::secondaryLabel(*content.date, PaneStyle::captionFont(font()));
        date->setObjectName(QStringLiteral("whatsNewDate"));
        layout->addWidget(date);
    }

    m_notes = new QPlainTextEdit(content.notes);
    m_notes->setReadOnly(true);
    m_notes->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_notes->setMinimumHeight(140);
    m_notes->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_notes->setFixedHeight(260);
    layout->addWidget(m_notes, 1);

    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    m_later = new QPushButton(content.later);
    m_later->setAutoDefault(false);
    m_download = new QPushButton(content.download);
    m_download->setDefault(true);
    buttons->addWidget(m_later);
    buttons->addWidget(m_download);
    layout->addLayout(buttons);

    connect(m_later, &QPushButton::clicked, this, &WhatsNewView::laterRequested);
    connect(m_download, &QPushButton::clicked, this, &WhatsNewView::downloadRequested);
    m_download->setFocus();
}

} // namespace ovrel
