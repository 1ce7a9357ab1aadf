#include "PulseWindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace ovrel::pulse {

PulseWindow::PulseWindow(std::function<void()> onToggle, std::function<void()> onBreakNow,
                         QWidget* parent)
    : QWidget(parent), m_status(new QLabel(this)), m_toggle(new QPushButton(this)),
      m_breakNow(new QPushButton(this)) {
    auto* layout = new QVBoxLayout(this);
    auto* buttons = new QHBoxLayout;
    m_status->setAlignment(Qt::AlignCenter);
    QFont font = m_status->font();
    font.setPointSize(font.pointSize() + 4);
    m_status->setFont(font);
    layout->addStretch();
    layout->addWidget(m_status);
    layout->addStretch();
    buttons->addWidget(m_toggle);
    buttons->addWidget(m_breakNow);
    layout->addLayout(buttons);
    connect(m_toggle, &QPushButton::clicked, this, [onToggle] { onToggle(); });
    connect(m_breakNow, &QPushButton::clicked, this, [onBreakNow] { onBreakNow(); });
}

void PulseWindow::present(const QString& status, const QString& toggleTitle,
                          const QString& breakNowTitle) {
    m_status->setText(status);
    m_toggle->setText(toggleTitle);
    m_breakNow->setText(breakNowTitle);
}

} // namespace ovrel::pulse
