#include "ClockModule.h"
#include "OvrelModuleKitUI/ModuleApplication.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ovrel::clock::ClockModule clock;
    return ovrel::ModuleApplication::exec(clock.launch());
}
