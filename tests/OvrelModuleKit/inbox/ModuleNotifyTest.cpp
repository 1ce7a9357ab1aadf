#include "OvrelModuleKit/inbox/ModuleNotify.h"

#include <QDBusConnection>
#include <QTest>
#include <QUuid>
#include <atomic>
#include <gtest/gtest.h>
#include <memory>

namespace Notify = ovrel::ModuleNotify;

TEST(ModuleNotify, NamesAreModuleScoped) {
    EXPECT_EQ(Notify::hostName(), "vn.ovrel.host");
    EXPECT_EQ(Notify::settingsName("clock"), "vn.ovrel.module.clock.settings");
    EXPECT_EQ(Notify::commandName("clock"), "vn.ovrel.module.clock.command");
}

TEST(ModuleNotify, EveryObserverOfANameHearsEachPost) {
    if (!QDBusConnection::sessionBus().isConnected())
        GTEST_SKIP() << "no D-Bus session bus";
    // The observers outlive this test, so they only touch shared counters.
    const QString name = "vn.ovrel.test." + QUuid::createUuid().toString(QUuid::Id128);
    auto first = std::make_shared<std::atomic<int>>(0);
    auto second = std::make_shared<std::atomic<int>>(0);
    auto other = std::make_shared<std::atomic<int>>(0);
    Notify::observe(name, [first] { ++*first; });
    Notify::observe(name, [second] { ++*second; });
    Notify::observe(name + ".other", [other] { ++*other; });

    Notify::post(name);
    EXPECT_TRUE(QTest::qWaitFor([&] { return *first == 1 && *second == 1; }, 5000));
    Notify::post(name);
    EXPECT_TRUE(QTest::qWaitFor([&] { return *first == 2 && *second == 2; }, 5000));
    QTest::qWait(50);
    EXPECT_EQ(*other, 0);
}
