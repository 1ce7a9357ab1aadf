#include "FakeWorkspace.h"
#include "OvrelConfig/HubLanguage.h"
#include "OvrelHub/update/WhatsNewContent.h"
#include "OvrelHub/update/WhatsNewWindowController.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QUrlQuery>
#include <gtest/gtest.h>

using namespace ovrel;

namespace {

UpdateRelease release(const QString& version) {
    UpdateRelease r;
    r.version = version;
    r.dmgUrl = QUrl("https://example.com/" + version + ".dmg");
    return r;
}

} // namespace

TEST(WhatsNewContent, DateIsTheDayNotesFallBackToADash) {
    UpdateRelease r = release("1.3.0");
    r.publishedAt = "2025-03-01T08:00:00Z";
    r.notesByLang = QMap<QString, QString>{{"en", "English notes"}};
    const WhatsNewContent ja = WhatsNewContent::of(r, AppLanguage::ja);
    EXPECT_EQ(ja.date, "2025-03-01");
    EXPECT_EQ(ja.notes, "English notes");

    const WhatsNewContent bare = WhatsNewContent::of(release("1.3.0"), AppLanguage::en);
    EXPECT_FALSE(bare.date);
    EXPECT_EQ(bare.notes, QString::fromUtf8("—"));
    EXPECT_EQ(bare, (WhatsNewContent{"What's new", "Version 1.3.0", std::nullopt,
                                     QString::fromUtf8("—"), "Download", "Later"}));
}

TEST(WhatsNewWindow, OneWindowShowingTheLastRelease) {
    HubLanguage::setProvider([] { return AppLanguage::en; });
    test::FakeWorkspace workspace;
    WhatsNewWindowController controller(workspace, [] { return QString("https://x.example"); });
    controller.show(release("1.3.0"));
    QPointer<WhatsNewView> first = controller.window();
    controller.show(release("1.4.0"));
    EXPECT_TRUE(QTest::qWaitFor([&first] { return first.isNull(); }));
    ASSERT_NE(controller.window(), nullptr);
    EXPECT_EQ(controller.window()->content().version, "Version 1.4.0");
    EXPECT_TRUE(controller.window()->downloadButton()->isDefault());
    EXPECT_FALSE(controller.window()->findChild<QLabel*>("whatsNewDate"));

    QPointer<WhatsNewView> second = controller.window();
    QTest::mouseClick(second->laterButton(), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&second] { return second.isNull(); }));
    EXPECT_TRUE(workspace.opened.isEmpty());
    HubLanguage::setProvider({});
}

TEST(WhatsNewWindow, DownloadOpensTheDownloadPageOfTheServiceBaseAndCloses) {
    test::FakeWorkspace workspace;
    WhatsNewWindowController controller(workspace,
                                        [] { return QString("https://other.example/base"); });
    controller.show(release("1.3.0"));
    QPointer<WhatsNewView> window = controller.window();
    QTest::keyClick(window.data(), Qt::Key_Return);
    ASSERT_EQ(workspace.opened.size(), 1);
    const QUrl opened = workspace.opened[0];
    EXPECT_EQ(opened.toString(QUrl::RemoveQuery), "https://other.example/base/download");
    const QUrlQuery query(opened);
    EXPECT_EQ(query.queryItemValue("platform"), "macos");
    EXPECT_EQ(query.queryItemValue("source"), "app");
    EXPECT_TRUE(query.hasQueryItem("product"));
    EXPECT_TRUE(QTest::qWaitFor([&window] { return window.isNull(); }));
}
