#pragma once

#include "ClockSettings.h"

#include <QTimer>
#include <QWidget>

class QLabel;

namespace ovrel::clock {

// The clock window's content: the time in large digits and, below it, the
// zone (and the date, when the style asks for it), refreshed at the set pace.
class ClockView : public QWidget {
public:
    explicit ClockView(QWidget* parent = nullptr);

    void present(const ClockSettings& settings, const QString& language, const QString& zone);

    // The time as shown, for copying.
    QString timeText() const;

private:
    void refresh();

    QLabel* m_time;
    QLabel* m_caption;
    QTimer m_timer;
    ClockSettings m_settings;
    QString m_language = QStringLiteral("vi");
    QString m_zone;
};

} // namespace ovrel::clock
