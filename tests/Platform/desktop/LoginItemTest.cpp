#include "Platform/desktop/LoginItem.h"
#include "TestSupport.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace ovrel;

namespace {

class LoginItemTest : public ::testing::Test {
protected:
    void SetUp() override { qputenv("XDG_CONFIG_HOME", dir.path().toUtf8()); }
    void TearDown() override { qputenv("XDG_CONFIG_HOME", saved); }

    QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    test::TempDir dir;
    QString program = QStringLiteral("/bin/true");
    XdgAutostartLoginItem item{QStringLiteral("vn.ovrel.lite"), QStringLiteral("Ovrel Lite"),
                               program};
};

} // namespace

TEST_F(LoginItemTest, SwitchingOnWritesTheAutostartEntryAndOffRemovesIt) {
    EXPECT_FALSE(item.isEnabled());
    item.setEnabled(true);

    EXPECT_EQ(item.entryPath(), dir.path() + QStringLiteral("/autostart/vn.ovrel.lite.desktop"));
    EXPECT_TRUE(item.isEnabled());
    const QByteArray entry = test::readFile(item.entryPath());
    EXPECT_TRUE(entry.startsWith("[Desktop Entry]\nType=Application\nName=Ovrel Lite\n"));
    EXPECT_TRUE(entry.contains("\nExec=\"/bin/true\"\n"));

    item.setEnabled(false);
    EXPECT_FALSE(QFile::exists(item.entryPath()));
    EXPECT_FALSE(item.isEnabled());
    item.setEnabled(false); // already off: no error
}

TEST_F(LoginItemTest, AnEntryTheUserHidIsOff) {
    test::writeFile(item.entryPath(), "[Desktop Entry]\nType=Application\nExec=x\nHidden=true\n");
    EXPECT_FALSE(item.isEnabled());
    test::writeFile(item.entryPath(), "[Desktop Entry]\nExec=x\n[Other]\nHidden=true\n");
    EXPECT_TRUE(item.isEnabled());
}

TEST_F(LoginItemTest, AProgramThatCannotBeStartedIsRefusedAndNothingIsWritten) {
    XdgAutostartLoginItem relative(QStringLiteral("vn.ovrel.lite"), QStringLiteral("Ovrel"),
                                   QStringLiteral("ovrel-lite"));
    EXPECT_THROW(relative.setEnabled(true), LoginItemError);
    XdgAutostartLoginItem missing(QStringLiteral("vn.ovrel.lite"), QStringLiteral("Ovrel"),
                                  dir.file(QStringLiteral("gone")));
    EXPECT_THROW(missing.setEnabled(true), LoginItemError);
    EXPECT_FALSE(QFile::exists(item.entryPath()));
}

TEST(XdgAutostartEntryText, QuotesTheProgramAsTheExecKeyRequires) {
    const QByteArray text = XdgAutostartLoginItem::entryText(
        QStringLiteral("Ovrel\nX-Injected=1"), QStringLiteral("/opt/my \"app\"/50%/$bin\\x"));
    EXPECT_TRUE(text.contains("\nName=Ovrel X-Injected=1\n"));
    EXPECT_TRUE(text.contains("\nExec=\"/opt/my \\\\\"app\\\\\"/50%%/\\\\$bin\\\\\\\\x\"\n"))
        << text.constData();
}
