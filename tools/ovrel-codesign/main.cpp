#include "CodesignCommands.h"

#include <QCoreApplication>
#include <cstdio>

namespace {

constexpr char kUsage[] = "usage: ovrel-codesign make-identity --out DIR [--name NAME]\n"
                          "       ovrel-codesign sign --identity DIR [--identifier ID] BUNDLE\n"
                          "       ovrel-codesign verify [--requirement TEXT] BUNDLE\n"
                          "       ovrel-codesign display BUNDLE\n";

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    if (arguments.isEmpty()) {
        std::fputs(kUsage, stderr);
        return ovrel::codesign::kExitUsage;
    }
    const QString command = arguments.takeFirst();
    if (command == QLatin1String("make-identity"))
        return ovrel::codesign::makeIdentity(arguments);
    if (command == QLatin1String("sign"))
        return ovrel::codesign::sign(arguments);
    if (command == QLatin1String("verify"))
        return ovrel::codesign::verify(arguments);
    if (command == QLatin1String("display"))
        return ovrel::codesign::display(arguments);
    std::fputs(kUsage, stderr);
    return ovrel::codesign::kExitUsage;
}
