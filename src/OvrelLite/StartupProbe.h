#pragma once

#include <QObject>

namespace ovrel {

class LiteAppDelegate;

// Ends the hub at a point of its start that a start-up benchmark measures:
// once the status menu holds the installed modules, or once that menu has
// also been opened and drawn. Armed before the event loop runs; lives as a
// child of the delegate.
class StartupProbe : public QObject {
    Q_OBJECT
public:
    enum class Point { modulesShown, menuDrawn };

    static void arm(LiteAppDelegate& delegate, Point point);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    StartupProbe(LiteAppDelegate& delegate, Point point);
    void modulesShown();

    LiteAppDelegate& m_delegate;
    Point m_point;
    bool m_done = false;
};

} // namespace ovrel
