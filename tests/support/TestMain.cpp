#include <QApplication>
#include <gtest/gtest.h>

// Every test program gets a QApplication (offscreen unless told otherwise) so
// event loops, timers, D-Bus and widgets behave as they do in the hub.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // As in the hub: closing a test's last window must not quit every later event loop.
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
