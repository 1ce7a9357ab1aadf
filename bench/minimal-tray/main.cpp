// The yardstick for the hub's start-up: the least a Qt tray program does — a
// tray icon with a ten-action menu — and nothing else. With --modules DIR it
// is also the least a menu of installed modules needs: per bundle
// (DIR/<id>/<Name>.app) read and parse its manifest, find its icon in
// Info.plist, decode it at the device-pixel size the menu draws it and add
// one action.
//   --exit-when-ready   quit once the menu is built
//   --open-menu         also open the menu and quit after its first paint
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QImageReader>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QTimer>

namespace {

// CFBundleIconFile of the bundle's Info.plist, found by plain text search.
QString iconFile(const QString& bundle) {
    QFile file(bundle + QStringLiteral("/Contents/Info.plist"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray plist = file.readAll();
    const qsizetype key = plist.indexOf("<key>CFBundleIconFile</key>");
    const qsizetype start = key < 0 ? -1 : plist.indexOf("<string>", key);
    const qsizetype end = start < 0 ? -1 : plist.indexOf("</string>", start);
    return end < 0 ? QString() : QString::fromUtf8(plist.mid(start + 8, end - start - 8));
}

void addModuleActions(QMenu& menu, const QString& modulesDir) {
    const qreal ratio = qApp->devicePixelRatio();
    const int side = qRound(qApp->style()->pixelMetric(QStyle::PM_SmallIconSize) * ratio);
    const QDir::Filters dirs = QDir::Dirs | QDir::NoDotAndDotDot;
    for (const QString& id : QDir(modulesDir).entryList(dirs, QDir::Name)) {
        const QDir moduleDir(modulesDir + QLatin1Char('/') + id);
        for (const QString& bundle : moduleDir.entryList(dirs)) {
            const QString resources =
                moduleDir.filePath(bundle) + QStringLiteral("/Contents/Resources/");
            QFile file(resources + QStringLiteral("manifest.json"));
            if (!file.open(QIODevice::ReadOnly))
                continue;
            const QJsonObject manifest = QJsonDocument::fromJson(file.readAll()).object();
            auto* action = menu.addAction(manifest.value(QStringLiteral("name"))
                                              .toObject()
                                              .value(QStringLiteral("en"))
                                              .toString());
            const QString icon = iconFile(moduleDir.filePath(bundle));
            if (icon.isEmpty())
                continue;
            QImageReader reader(resources + icon);
            reader.setScaledSize(QSize(side, side));
            QPixmap pixmap = QPixmap::fromImage(reader.read());
            pixmap.setDevicePixelRatio(ratio);
            action->setIcon(QIcon(pixmap));
        }
    }
}

// Quits after the first paint of the object it watches has been handled.
class QuitAfterPaint : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return false;
    }
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const QStringList arguments = app.arguments();
    const bool openMenu = arguments.contains(QStringLiteral("--open-menu"));
    const bool exitWhenReady = openMenu || arguments.contains(QStringLiteral("--exit-when-ready"));
    const qsizetype modulesAt = arguments.indexOf(QStringLiteral("--modules"));
    const QString modulesDir = modulesAt >= 0 && modulesAt + 1 < arguments.size()
                                   ? arguments.at(modulesAt + 1)
                                   : QString();

    QTimer::singleShot(0, &app, [=] {
        QPixmap pixmap(22, 22);
        pixmap.fill(Qt::transparent);
        QPainter(&pixmap).fillRect(4, 4, 14, 14, Qt::blue);
        auto* tray = new QSystemTrayIcon(QIcon(pixmap), qApp);
        auto* menu = new QMenu();
        if (!modulesDir.isEmpty())
            addModuleActions(*menu, modulesDir);
        for (int i = 0; i < 10; ++i)
            menu->addAction(QStringLiteral("Action %1").arg(i + 1));
        tray->setContextMenu(menu);
        tray->show();
        if (openMenu) {
            menu->installEventFilter(new QuitAfterPaint(menu));
            menu->popup(QPoint(0, 0));
        } else if (exitWhenReady) {
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
    });
    return app.exec();
}
