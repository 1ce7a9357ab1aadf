#pragma once

#include <QString>

class QMainWindow;
class QMenuBar;

namespace ovrel {

// The minimal menu every module shows: an application menu with
// "Quit <name>" (Ctrl+Q) and an "Edit" menu whose Undo, Redo, Cut, Copy, Paste
// and Select All act on the widget that has the keyboard focus.
//
// install() builds the application's main menu, a menu bar of its own (the
// global menu where the platform has one). Linux desktops show menus inside
// windows, so module windows made by ModuleWindow carry a copy of it.
namespace ModuleStandardMenu {

void install();
bool isInstalled();

// The installed main menu; null before install().
QMenuBar* mainMenu();

// Gives the window the standard menu as its menu bar; nothing before install().
void attach(QMainWindow* window);

// The name the application menu uses: CFBundleName when it is a string,
// otherwise the process name.
QString applicationName();

} // namespace ModuleStandardMenu

} // namespace ovrel
