#include "OvrelHub/shortcuts/ShortcutManager.h"
#include "OvrelHub/modules/ModuleStateStore.h"
#include "OvrelHub/shortcuts/DesktopEntryBackend.h"
#include "OvrelHub/shortcuts/SymlinkBackend.h"
#include "Platform/plist/PlistCodec.h"
#include "Platform/system/SystemLog.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace ovrel;

TEST(ShortcutLinkNameTest, PrefixedOnceTrimmedAndWithoutPathSeparators) {
    EXPECT_EQ(ShortcutManager::linkName("  Ovrel Notes\t"), "Ovrel Notes");
    EXPECT_EQ(ShortcutManager::linkName("A/B: C"), "Ovrel A-B- C");
    EXPECT_EQ(ShortcutManager::linkName("Clipper"), "Ovrel Clipper");
    EXPECT_EQ(ShortcutManager::linkName("\nX"), "Ovrel \nX") << "only spaces and tabs are trimmed";
}

namespace {

template <class Backend> class ShortcutManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        InstalledModule entry;
        entry.id = "clock";
        entry.version = "1.0";
        entry.appName = "Clock.app";
        state.update([&](ModulesState& modules) { modules.installed["clock"] = entry; });
        test::writeFile(paths.bundle("clock", "Clock.app") + "/Contents/Info.plist",
                        PlistCodec::toXml(QVariantMap{{"CFBundleExecutable", "Clock"},
                                                      {"CFBundleIconFile", "clock.png"}}));
    }
    InstalledModule entry() { return state.load().installed.at("clock"); }
    QString link(const QString& name) const { return dir.file("applications/" + name); }

    test::TempDir dir;
    ModulePaths paths{dir.file("Ovrel")};
    ModuleStateStore state{paths};
    Backend backend;
    ShortcutManager manager{state, backend, dir.file("applications")};
};

using Backends = ::testing::Types<SymlinkBackend, DesktopEntryBackend>;
TYPED_TEST_SUITE(ShortcutManagerTest, Backends);

} // namespace

TYPED_TEST(ShortcutManagerTest, EnablingRecordsTheNameAndDisablingRemovesTheShortcut) {
    this->manager.set(true, "clock", QString("Clock"));
    this->manager.set(true, "clock", QString("Clock")); // twice replaces
    EXPECT_TRUE(this->backend.exists(this->link("Ovrel Clock")));
    EXPECT_TRUE(this->entry().shortcutEnabled);
    EXPECT_EQ(this->entry().shortcutLinkName, "Ovrel Clock");

    this->manager.set(false, "clock", std::nullopt);
    EXPECT_FALSE(this->backend.exists(this->link("Ovrel Clock")));
    EXPECT_FALSE(this->entry().shortcutEnabled);
    EXPECT_EQ(this->entry().shortcutLinkName, "Ovrel Clock") << "the stored name stays";
}

TYPED_TEST(ShortcutManagerTest, ARenamedModuleGetsANewShortcutAndTheOldOneStays) {
    this->manager.set(true, "clock", QString("Clock"));
    this->manager.set(true, "clock", QString("Đồng hồ"));
    EXPECT_EQ(this->entry().shortcutLinkName, "Ovrel Đồng hồ");
    EXPECT_TRUE(this->backend.exists(this->link("Ovrel Clock")));
    EXPECT_TRUE(this->backend.exists(this->link("Ovrel Đồng hồ")));
}

TYPED_TEST(ShortcutManagerTest, ReconcilingNoticesShortcutsTheUserDeleted) {
    this->manager.set(true, "clock", std::nullopt);
    EXPECT_EQ(this->entry().shortcutLinkName, "Ovrel clock");
    this->manager.reconcileAll();
    EXPECT_TRUE(this->entry().shortcutEnabled);
    this->backend.remove(this->link("Ovrel clock"));
    this->manager.reconcileAll();
    EXPECT_FALSE(this->entry().shortcutEnabled);
    EXPECT_FALSE(this->backend.exists(this->link("Ovrel clock"))) << "reconciling creates nothing";
}

TYPED_TEST(ShortcutManagerTest, AFailedCreationIsLoggedAndLeavesTheSwitchOff) {
    test::writeFile(this->dir.file("applications"), "a file where the folder should be");
    SystemLogCapture log;
    this->manager.set(true, "clock", QString("Clock"));
    EXPECT_FALSE(this->entry().shortcutEnabled);
    ASSERT_EQ(log.lines().size(), 1);
    EXPECT_TRUE(log.lines()[0].startsWith("Ovrel: không tạo được lối tắt cho clock: "));
    this->manager.set(true, "ghost", QString("Ghost")); // no entry: nothing happens
    EXPECT_EQ(log.lines().size(), 1);
}

TYPED_TEST(ShortcutManagerTest, AStoredNameThatIsNoFileNameIsNeverUsedAsAPath) {
    test::writeFile(this->dir.file("victim.desktop"), "keep");
    test::writeFile(this->dir.file("victim"), "keep");
    this->state.update([](ModulesState& modules) {
        modules.installed["clock"].shortcutLinkName = QString("../victim");
    });
    this->manager.set(false, "clock", QString("Clock"));
    EXPECT_TRUE(QFile::exists(this->dir.file("victim")));
    EXPECT_TRUE(QFile::exists(this->dir.file("victim.desktop")));
}

TEST(SymlinkBackendTest, ADanglingLinkExistsAndAFolderIsNeverRemoved) {
    test::TempDir dir;
    SymlinkBackend backend;
    backend.create(dir.file("link"), dir.file("nowhere"));
    EXPECT_TRUE(backend.exists(dir.file("link")));
    EXPECT_EQ(QFileInfo(dir.file("link")).symLinkTarget(), dir.file("nowhere"));
    QDir(dir.path()).mkdir("folder");
    EXPECT_THROW(backend.create(dir.file("folder"), dir.file("x")), std::exception);
    EXPECT_TRUE(QFileInfo(dir.file("folder")).isDir());
}

TEST(DesktopEntryBackendTest, TheEntryStartsTheModuleWithItsNameAndIcon) {
    test::TempDir dir;
    const QString bundle = dir.file("M $x%.app");
    test::writeFile(bundle + "/Contents/Info.plist",
                    PlistCodec::toXml(QVariantMap{{"CFBundleExecutable", "Clock"},
                                                  {"CFBundleIdentifier", "vn.ovrel.module.clock"},
                                                  {"CFBundleIconFile", "clock.png"}}));
    const QString text =
        QString::fromUtf8(DesktopEntryBackend::entryText("Ovrel Clock\nExec=evil", bundle));
    EXPECT_TRUE(text.startsWith("[Desktop Entry]\nType=Application\n"));
    EXPECT_TRUE(text.contains("\nName=Ovrel Clock\\nExec=evil\n"));
    EXPECT_TRUE(text.contains("\nIcon=" + bundle + "/Contents/Resources/clock.png\n"));
    EXPECT_TRUE(
        text.contains("\nExec=\"" + dir.path() + "/M \\\\$x%%.app/Contents/MacOS/Clock\"\n"))
        << qPrintable(text);
    EXPECT_EQ(text.count("\nExec="), 1);
    EXPECT_TRUE(DesktopEntryBackend::entryText("X", dir.file("Missing.app")).isEmpty());
}
