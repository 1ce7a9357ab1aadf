#include "ClockView.h"

#include "ClockFormat.h"

#include <QLabel>
#include <QVBoxLayout>

namespace ovrel::clock {

ClockView::ClockView(QWidget* parent)
    : QWidget(parent), m_time(new QLabel(this)), m_caption(new QLabel(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->addStretch();
    layout->addWidget(m_time);
    layout->addWidget(m_caption);
    layout->addStretch();
    m_time->setAlignment(Qt::AlignCenter);
    m_caption->setAlignment(Qt::AlignCenter);
    m_time->setTextInteractionFlags(Qt::TextSelectableByMouse);
    connect(&m_timer, &QTimer::timeout, this, &ClockView::refresh);
}

void ClockView::present(const ClockSettings& settings, const QString& language,
                        const QString& zone) {
    m_settings = settings;
    m_language = language;
    m_zone = zone;
    QFont font = m_time->font();
    font.setPointSize(settings.style == ClockSettings::Style::large ? 56 : 32);
    font.setBold(settings.style == ClockSettings::Style::large);
    m_time->setFont(font);
    m_timer.start(settings.refreshSeconds * 1000);
    refresh();
}

QString ClockView::timeText() const {
    return m_time->text();
}

void ClockView::refresh() {
    const QDateTime now = ClockFormat::now(m_zone);
    // Seconds are shown only when the display keeps up with them.
    const bool withSeconds = m_settings.refreshSeconds == 1;
    m_time->setText(ClockFormat::time(now, m_language, m_settings.use24Hour, withSeconds));
    QString caption = ClockFormat::zoneName(m_zone, m_language);
    if (m_settings.style == ClockSettings::Style::timeAndDate)
        caption = ClockFormat::date(now, m_language) + QStringLiteral(" · ") + caption;
    m_caption->setText(caption);
}

} // namespace ovrel::clock
