#pragma once

#include <QWidget>
#include <functional>

class QLabel;
class QPushButton;

namespace ovrel::pulse {

// Pulse's small status window: where the schedule stands, a button that
// pauses or resumes the reminders and one that starts a break at once.
class PulseWindow : public QWidget {
public:
    PulseWindow(std::function<void()> onToggle, std::function<void()> onBreakNow,
                QWidget* parent = nullptr);

    void present(const QString& status, const QString& toggleTitle, const QString& breakNowTitle);

private:
    QLabel* m_status;
    QPushButton* m_toggle;
    QPushButton* m_breakNow;
};

} // namespace ovrel::pulse
