#include "OvrelHub/runner/BlockedLaunchAlert.h"
#include "OvrelConfig/Loc.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMessageBox>
#include <gtest/gtest.h>

using namespace ovrel;

TEST(BlockedLaunchAlert, TextsNameTheModuleAndTheReason) {
    const auto tooOld = BlockedLaunchAlert::texts(
        QStringLiteral("clock"), ModuleLaunchBlock::macOSTooOld(QStringLiteral("15")),
        AppLanguage::en);
    EXPECT_EQ(tooOld,
              (BlockedLaunchAlert::Texts{QStringLiteral("clock"),
                                         QStringLiteral("Requires system version 15 or newer"),
                                         QStringLiteral("Close")}));

    const auto invalid = BlockedLaunchAlert::texts(
        QStringLiteral("clock"), ModuleLaunchBlock::invalidMinMacOS(QStringLiteral("15.a")),
        AppLanguage::fr);
    EXPECT_EQ(invalid.message, QStringLiteral("clock"));
    EXPECT_EQ(invalid.informative,
              Loc::format(LocKey::appsModuleInvalidMacOSFormat, AppLanguage::fr,
                          {QStringLiteral("clock"), QStringLiteral("15.a")}));
    EXPECT_TRUE(invalid.informative.contains(QStringLiteral("clock")));
    EXPECT_TRUE(invalid.informative.contains(QStringLiteral("15.a")));
    EXPECT_EQ(invalid.button, Loc::t(LocKey::close, AppLanguage::fr));
}

TEST(BlockedLaunchAlert, MessageBoxShowsManifestTextAsWritten) {
    const BlockedLaunchAlert::Texts texts{
        QStringLiteral("clock"),
        QStringLiteral("Could not open clock: its manifest declares an invalid macOS requirement "
                       "(\"<img src=x><b>15</b>\")"),
        QStringLiteral("Close")};
    const std::unique_ptr<QMessageBox> box = BlockedLaunchAlert::messageBox(texts);
    EXPECT_EQ(box->icon(), QMessageBox::Warning);
    EXPECT_EQ(box->text(), QStringLiteral("clock"));
    EXPECT_EQ(box->informativeText(), texts.informative);
    int informativeLabels = 0;
    for (const QLabel* label : box->findChildren<QLabel*>()) {
        if (label->text() == texts.informative) {
            ++informativeLabels;
            EXPECT_EQ(label->textFormat(), Qt::PlainText);
        }
    }
    EXPECT_EQ(informativeLabels, 1);
    ASSERT_EQ(box->buttons().size(), 1);
    EXPECT_EQ(box->buttons()[0]->text(), QStringLiteral("Close"));
    EXPECT_FALSE(box->isVisible());
}
