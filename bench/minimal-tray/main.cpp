// The yardstick for the hub's start-up: the least a Qt tray program does —
// a tray icon with a ten-action menu — and nothing else.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const bool exitWhenReady = app.arguments().contains(QStringLiteral("--exit-when-ready"));

    QTimer::singleShot(0, &app, [exitWhenReady] {
        QPixmap pixmap(22, 22);
        pixmap.fill(Qt::transparent);
        QPainter(&pixmap).fillRect(4, 4, 14, 14, Qt::blue);
        auto* tray = new QSystemTrayIcon(QIcon(pixmap), qApp);
        auto* menu = new QMenu();
        for (int i = 0; i < 10; ++i)
            menu->addAction(QStringLiteral("Action %1").arg(i + 1));
        tray->setContextMenu(menu);
        tray->show();
        if (exitWhenReady)
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    });
    return app.exec();
}
