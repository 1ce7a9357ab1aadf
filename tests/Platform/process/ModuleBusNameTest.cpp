#include "Platform/process/ModuleBusName.h"

#include <QDBusConnection>
#include <QObject>
#include <QSet>
#include <gtest/gtest.h>

using namespace ovrel;

TEST(ModuleBusName, ModuleIdentifiersBecomeBusNamesAndObjectPaths) {
    const struct {
        const char* identifier;
        const char* busName;
        const char* objectPath;
    } cases[] = {
        {"vn.ovrel.module.clock", "vn.ovrel.module.clock", "/vn/ovrel/module/clock"},
        {"vn.ovrel.module.pulse-meter", "vn.ovrel.module.pulse-meter",
         "/vn/ovrel/module/pulse_meter"},
        {"vn.ovrel.module.2fa", "vn.ovrel.module._2fa", "/vn/ovrel/module/_2fa"},
        {"vn.ovrel.module.-", "vn.ovrel.module.-", "/vn/ovrel/module/_"},
        {"vn.ovrel.module.9-9", "vn.ovrel.module._9-9", "/vn/ovrel/module/_9_9"},
        {"Com.Example-Corp.App", "Com.Example-Corp.App", "/Com/Example_Corp/App"},
    };
    for (const auto& c : cases) {
        const auto name = ModuleBusName::forBundleIdentifier(QString::fromLatin1(c.identifier));
        ASSERT_TRUE(name.has_value()) << c.identifier;
        EXPECT_EQ(*name, QString::fromLatin1(c.busName));
        EXPECT_EQ(ModuleBusName::objectPath(*name), QString::fromLatin1(c.objectPath));
    }
}

TEST(ModuleBusName, DistinctModuleIdsNeverShareABusName) {
    // Ids are a-z, 0-9 and "-": the leading "_" cannot collide with any of them.
    const QStringList ids = {"2fa", "-2fa", "_2fa", "2-fa", "a", "-", "0", "00", "clock", "clock-"};
    QSet<QString> names;
    int mapped = 0;
    for (const QString& id : ids) {
        const auto name = ModuleBusName::forBundleIdentifier("vn.ovrel.module." + id);
        if (id.contains('_')) {
            EXPECT_FALSE(name.has_value()) << "not a bundle identifier character";
            continue;
        }
        ASSERT_TRUE(name.has_value()) << id.toStdString();
        names.insert(*name);
        ++mapped;
    }
    EXPECT_EQ(names.size(), mapped);
}

TEST(ModuleBusName, IdentifiersOfAnotherShapeHaveNoBusName) {
    for (const char* identifier :
         {"", "clock", ".", "vn..clock", ".vn.ovrel", "vn.ovrel.", "vn.ovrel.module.a_b",
          "vn.ovrel.module.a b", "vn.ovrel.module.a/b", "vn.ovrel.module.:1", "vn.ovrel.module.é"})
        EXPECT_FALSE(ModuleBusName::forBundleIdentifier(QString::fromUtf8(identifier)).has_value())
            << identifier;

    const QString longest = "vn." + QString(ModuleBusName::kMaxBusNameLength - 3, 'a');
    EXPECT_TRUE(ModuleBusName::forBundleIdentifier(longest).has_value());
    EXPECT_FALSE(ModuleBusName::forBundleIdentifier(longest + 'a').has_value());
    // The added "_" counts too.
    EXPECT_FALSE(ModuleBusName::forBundleIdentifier(
                     "vn." + QString(ModuleBusName::kMaxBusNameLength - 4, 'a') + ".1")
                     .has_value());
}

TEST(ModuleBusName, TheBusAcceptsTheNamesAndPaths) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        GTEST_SKIP() << "no session bus";
    QObject object;
    for (const char* identifier :
         {"vn.ovrel.module.9-lives", "vn.ovrel.module.-x-", "vn.ovrel.module.0"}) {
        const auto name = ModuleBusName::forBundleIdentifier(QString::fromLatin1(identifier));
        ASSERT_TRUE(name.has_value());
        EXPECT_TRUE(bus.registerService(*name)) << name->toStdString();
        EXPECT_TRUE(bus.registerObject(ModuleBusName::objectPath(*name), &object))
            << ModuleBusName::objectPath(*name).toStdString();
        bus.unregisterObject(ModuleBusName::objectPath(*name));
        bus.unregisterService(*name);
    }
}
