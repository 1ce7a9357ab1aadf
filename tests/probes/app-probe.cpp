// Plays a module application in workspace tests. Started without arguments
// from a bundle; reads its own Contents/Info.plist:
//   CFBundleIdentifier  owns the matching session-bus name and answers
//                       org.freedesktop.Application.Activate there
//   ProbeRecordFile     appends "ready <pid>" once it owns the name ("second
//                       <pid>" when an earlier instance owns it), then
//                       "activate <number of platform-data entries>" per call
//   ProbeIgnoresTerm    true: SIGTERM is ignored
#include "Platform/plist/PlistCodec.h"
#include "Platform/process/ModuleBusName.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QFile>
#include <QVariantMap>
#include <csignal>
#include <unistd.h>

using namespace ovrel;

namespace {

QString recordFile;

void record(const QByteArray& line) {
    QFile file(recordFile);
    if (file.open(QIODevice::WriteOnly | QIODevice::Append))
        file.write(line + '\n');
}

class ApplicationInterface : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")
public slots:
    void Activate(const QVariantMap& platformData) {
        record("activate " + QByteArray::number(platformData.size()));
    }
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QFile plist(QCoreApplication::applicationDirPath() + QStringLiteral("/../Info.plist"));
    if (!plist.open(QIODevice::ReadOnly))
        return 2;
    const QVariantMap info = PlistCodec::parse(plist.readAll()).value_or(QVariant()).toMap();
    recordFile = info.value(QStringLiteral("ProbeRecordFile")).toString();
    if (info.value(QStringLiteral("ProbeIgnoresTerm")).toBool())
        std::signal(SIGTERM, SIG_IGN);

    const auto busName = ModuleBusName::forBundleIdentifier(
        info.value(QStringLiteral("CFBundleIdentifier")).toString());
    QDBusConnection bus = QDBusConnection::sessionBus();
    ApplicationInterface interface;
    if (!busName || !bus.registerObject(ModuleBusName::objectPath(*busName), &interface,
                                        QDBusConnection::ExportAllSlots)) {
        record("no bus name");
        return 3;
    }
    const QByteArray pid = QByteArray::number(::getpid());
    record((bus.registerService(*busName) ? "ready " : "second ") + pid);
    return app.exec();
}

#include "app-probe.moc"
