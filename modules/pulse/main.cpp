#include "OvrelModuleKitUI/ModuleApplication.h"
#include "PulseModule.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ovrel::pulse::PulseModule pulse;
    return ovrel::ModuleApplication::exec(pulse.launch());
}
