#pragma once

#include <QSize>
#include <QString>
#include <memory>

class QMainWindow;
class QWidget;

namespace ovrel {

// The one way modules make and show their windows, so every module behaves
// alike: titled, closable, minimizable and resizable windows, centred on
// first show, carrying the standard menu, and holding the module's presence
// (ModuleDockPresence) while they are open.
namespace ModuleWindow {

// A window around `content` (which it takes over) whose content area has
// `size`, never smaller than `minSize`, centred on the primary screen. Closing
// it lets go of the presence it holds.
std::unique_ptr<QMainWindow> make(const QString& title, QSize size, QSize minSize,
                                  QWidget* content);

// Shows the window in front of every other and gives it the focus. The window
// holds the presence from now until it is closed or destroyed; bringing it
// forward again while it is open does not count twice.
void bringToFront(QWidget* window);

// Whether the window currently holds the presence.
bool holdsPresence(const QWidget* window);

} // namespace ModuleWindow

} // namespace ovrel
