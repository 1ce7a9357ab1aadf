#include "OvrelHub/storepane/StoreTile.h"

#include "OvrelHub/settings/PaneStyle.h"
#include "OvrelHub/storepane/StoreIcon.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace ovrel {

namespace {
constexpr int kIconSide = 48;
}

StoreTile::StoreTile(QString id, const QString& name, const QString& summary, QWidget* parent)
    : QFrame(parent), m_id(std::move(id)) {
    setObjectName(QStringLiteral("storeTile"));
    setFrameShape(QFrame::StyledPanel);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setAccessibleName(name);
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(4);

    m_icon = new StoreIcon(kIconSide);
    layout->addWidget(m_icon);
    m_name = new QLabel();
    m_name->setFont(PaneStyle::headlineFont(font()));
    // One line: a long name is cut with an ellipsis, the whole name is the tooltip.
    m_name->setText(fontMetrics().elidedText(name, Qt::ElideRight, 150));
    m_name->setToolTip(name);
    m_name->setMinimumWidth(0);
    layout->addWidget(m_name);
    QLabel* summaryLabel = PaneStyle::secondaryLabel(summary, PaneStyle::captionFont(font()));
    summaryLabel->setVisible(!summary.isEmpty());
    layout->addWidget(summaryLabel);
    layout->addStretch(1);

    auto* row = new QHBoxLayout();
    row->setSpacing(6);
    m_status = PaneStyle::secondaryLabel(QString(), PaneStyle::captionFont(font()));
    row->addWidget(m_status, 1);
    m_action = new QPushButton();
    connect(m_action, &QPushButton::clicked, this, &StoreTile::actionClicked);
    row->addWidget(m_action);
    m_cancel = new QPushButton();
    m_cancel->setVisible(false);
    connect(m_cancel, &QPushButton::clicked, this, &StoreTile::cancelClicked);
    row->addWidget(m_cancel);
    layout->addLayout(row);
    m_failure = PaneStyle::warningLabel(QString(), font());
    m_failure->setVisible(false);
    layout->addWidget(m_failure);
}

void StoreTile::setStatus(const TileStatus& status) {
    const bool caption = status.kind == TileStatus::Kind::caption;
    m_status->setText(caption ? status.text : QString());
    m_status->setVisible(caption);
    m_action->setText(caption ? QString() : status.text);
    m_action->setVisible(!caption);
}

void StoreTile::setCancel(const QString& text) {
    m_cancel->setText(text);
    m_cancel->setVisible(!text.isEmpty());
}

void StoreTile::setFailure(const QString& reason) {
    m_failure->setText(reason);
    m_failure->setVisible(!reason.isEmpty());
}

void StoreTile::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit chosen();
        return;
    }
    QFrame::mouseReleaseEvent(event);
}

void StoreTile::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        emit chosen();
        return;
    default:
        QFrame::keyPressEvent(event);
    }
}

} // namespace ovrel
