#include "OvrelModuleKitUI/ModuleStandardMenu.h"

#include "OvrelModuleKit/launch/RunningBundle.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QWidget>

namespace ovrel::ModuleStandardMenu {

namespace {

QPointer<QMenuBar>& installedMenu() {
    // Never deleted: it lives as long as the process, like the menu it stands for.
    static QPointer<QMenuBar> menu;
    return menu;
}

// A text shown as is: "&" would otherwise mark a mnemonic.
QString literal(QString text) {
    return text.replace(QLatin1Char('&'), QLatin1String("&&"));
}

// The standard editing action goes to whatever has the focus, if it knows it.
void sendToFocusWidget(const char* slot) {
    QWidget* focus = QApplication::focusWidget();
    if (!focus)
        return;
    const QByteArray signature = QByteArray(slot) + "()";
    if (focus->metaObject()->indexOfMethod(signature.constData()) < 0)
        return;
    QMetaObject::invokeMethod(focus, slot);
}

void addEditAction(QMenu* menu, const QString& title, const QKeySequence& key, const char* slot) {
    QAction* action = menu->addAction(title);
    action->setShortcut(key);
    QObject::connect(action, &QAction::triggered, action, [slot] { sendToFocusWidget(slot); });
}

void populate(QMenuBar* bar, const QString& name) {
    QMenu* application = bar->addMenu(literal(name));
    QAction* quit = application->addAction(QStringLiteral("Quit ") + literal(name));
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    quit->setMenuRole(QAction::QuitRole);
    QObject::connect(quit, &QAction::triggered, quit, [] { QCoreApplication::quit(); });

    QMenu* edit = bar->addMenu(QStringLiteral("Edit"));
    addEditAction(edit, QStringLiteral("Undo"), QKeySequence(Qt::CTRL | Qt::Key_Z), "undo");
    addEditAction(edit, QStringLiteral("Redo"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
                  "redo");
    edit->addSeparator();
    addEditAction(edit, QStringLiteral("Cut"), QKeySequence(Qt::CTRL | Qt::Key_X), "cut");
    addEditAction(edit, QStringLiteral("Copy"), QKeySequence(Qt::CTRL | Qt::Key_C), "copy");
    addEditAction(edit, QStringLiteral("Paste"), QKeySequence(Qt::CTRL | Qt::Key_V), "paste");
    addEditAction(edit, QStringLiteral("Select All"), QKeySequence(Qt::CTRL | Qt::Key_A),
                  "selectAll");
}

} // namespace

QString applicationName() {
    return RunningBundle::applicationName();
}

void install() {
    QPointer<QMenuBar>& menu = installedMenu();
    delete menu.data();
    menu = new QMenuBar(nullptr);
    populate(menu, applicationName());
}

bool isInstalled() {
    return !installedMenu().isNull();
}

QMenuBar* mainMenu() {
    return installedMenu();
}

void attach(QMainWindow* window) {
    if (!window || !isInstalled())
        return;
    auto* bar = new QMenuBar(window);
    populate(bar, applicationName());
    window->setMenuBar(bar);
}

} // namespace ovrel::ModuleStandardMenu
