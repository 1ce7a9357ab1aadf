#include "OvrelConfig/AppLanguage.h"
#include "OvrelConfig/Loc.h"
#include "OvrelConfig/LocKey.h"
#include "OvrelConfig/strings/Strings.h"

#include <QRegularExpression>
#include <QSet>
#include <QStringList>
#include <gtest/gtest.h>

using namespace ovrel;

namespace {

// The printf-style conversions of a text in order ("%@", "%d"); "%%" is a
// literal percent sign and any other use of "%" is reported as "invalid".
QStringList placeholders(const QString& text) {
    QStringList out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'%')
            continue;
        const QChar next = i + 1 < text.size() ? text[i + 1] : QChar();
        if (next == u'@' || next == u'd')
            out << QStringLiteral("%") + next;
        else if (next != u'%')
            out << QStringLiteral("invalid");
        ++i;
    }
    return out;
}

QString nameOf(LocKey key) {
    return QString::fromLatin1(locKeyName(key));
}

std::string label(LocKey key, AppLanguage language) {
    return (AppLanguages::rawValue(language) + QStringLiteral(".") + nameOf(key)).toStdString();
}

template <typename Check> void forEveryText(Check check) {
    for (const AppLanguage language : AppLanguages::allCases()) {
        for (int i = 0; i < kLocKeyCount; ++i)
            check(locKeyAt(i), language, Loc::t(locKeyAt(i), language));
    }
}

} // namespace

TEST(LocTables, EveryTableHasEveryKeyExactlyOnce) {
    for (const AppLanguage language : AppLanguages::allCases()) {
        const StringTable& table = Strings::table(language);
        EXPECT_EQ(table.size(), kLocKeyCount) << AppLanguages::rawValue(language).toStdString();
        EXPECT_TRUE(table.duplicateKeys().isEmpty())
            << AppLanguages::rawValue(language).toStdString();
        for (int i = 0; i < kLocKeyCount; ++i)
            EXPECT_TRUE(table.contains(locKeyAt(i))) << label(locKeyAt(i), language);
    }
}

TEST(LocTables, NoTextNamesAFacilityThisDesktopLacks) {
    // Words of another platform's desktop, in the seven languages' own spellings.
    const QStringList foreign{"macOS",
                              "Finder",
                              "访达",
                              "System Settings",
                              "Réglages Système",
                              "Ajustes del Sistema",
                              "Applications folder",
                              "thư mục Applications",
                              "App Store",
                              "システム設定",
                              "시스템 설정"};
    forEveryText([&](LocKey key, AppLanguage language, const QString& text) {
        for (const QString& word : foreign)
            EXPECT_FALSE(text.contains(word)) << label(key, language) << ": " << word.toStdString();
        EXPECT_FALSE(QRegularExpression(QStringLiteral("\\bMac\\b")).match(text).hasMatch())
            << label(key, language);
    });
}

TEST(LocTables, NoTextIsBlankOrTheMissingMarker) {
    forEveryText([](LocKey key, AppLanguage language, const QString& text) {
        EXPECT_FALSE(text.trimmed().isEmpty()) << label(key, language);
        EXPECT_EQ(text, text.trimmed()) << label(key, language);
        EXPECT_FALSE(text.contains(QStringLiteral("missing:"))) << label(key, language);
    });
}

TEST(LocTables, FormatKeysKeepTheEnglishPlaceholdersInOrder) {
    for (int i = 0; i < kLocKeyCount; ++i) {
        const LocKey key = locKeyAt(i);
        const QStringList english = placeholders(Loc::t(key, AppLanguage::en));
        const bool isFormatKey = nameOf(key).endsWith(QStringLiteral("Format"));
        EXPECT_EQ(!english.isEmpty(), isFormatKey) << nameOf(key).toStdString();
        for (const AppLanguage language : AppLanguages::allCases())
            EXPECT_EQ(placeholders(Loc::t(key, language)), english) << label(key, language);
    }
}

TEST(LocTables, TypographyIsConsistent) {
    forEveryText([](LocKey key, AppLanguage language, const QString& text) {
        // Ellipses and dashes are the typographic characters, never ASCII stand-ins.
        EXPECT_FALSE(text.contains(QStringLiteral("..."))) << label(key, language);
        EXPECT_FALSE(text.contains(QStringLiteral(" -- "))) << label(key, language);
        if (nameOf(key).endsWith(QStringLiteral("Ellipsis"))) {
            EXPECT_TRUE(text.endsWith(QStringLiteral("…"))) << label(key, language);
        }
    });
}

TEST(LocTables, TranslatedTablesAreNotEnglishCopies) {
    // Product names, method names and a few international words may stay as in
    // English; a table that was not translated would share far more.
    for (const AppLanguage language : AppLanguages::allCases()) {
        if (language == AppLanguage::en)
            continue;
        int same = 0;
        for (int i = 0; i < kLocKeyCount; ++i)
            same += Loc::t(locKeyAt(i), language) == Loc::t(locKeyAt(i), AppLanguage::en);
        EXPECT_LE(same, 8) << AppLanguages::rawValue(language).toStdString();
    }
}

TEST(LocTables, HubMenuAndWindowTexts) {
    struct Row {
        LocKey key;
        const char* en;
        const char* vi;
    };
    const Row rows[] = {
        {LocKey::settingsEllipsis, "Settings…", "Cài đặt…"},
        {LocKey::userGuide, "User Guide", "Hướng dẫn sử dụng"},
        {LocKey::quitOvrel, "Quit Ovrel", "Thoát Ovrel"},
        {LocKey::windowTitleSettings, "Ovrel — Settings", "Ovrel — Cài đặt"},
        {LocKey::newVersionAvailableFormat, "New version v%@ available — Download",
         "Có bản mới v%@ — Tải về"},
        // The desktop has no App Store: the store is named as its software centres are.
        {LocKey::appsStore, "App Center", "Cửa hàng ứng dụng"},
        {LocKey::appsViewInStore, "View in App Center", "Xem trong Cửa hàng ứng dụng"},
        {LocKey::menuLayoutShowMore, "Show more", "Xem thêm"},
        {LocKey::loginFailedFormat, "Login failed (%@)", "Đăng nhập thất bại (%@)"},
        {LocKey::loginCodeExchangeFailed, "Could not exchange the login code",
         "Không đổi được mã đăng nhập"},
        {LocKey::automaticMatchSystem, "Automatic (match system)", "Tự động theo hệ thống"},
        {LocKey::appsHotkeyTakenByFormat,
         "%@ is already using this combination — pick another one.",
         "%@ đang dùng tổ hợp này — chọn tổ hợp khác."},
        {LocKey::appsHotkeyTaken, "That combination is already in use — pick another one.",
         "Tổ hợp này đang dùng cho việc khác — chọn tổ hợp khác."},
        {LocKey::otherBuildTitle, "Both versions are installed", "Bạn đang có cả hai bản"},
        {LocKey::revealInFinder, "Show in File Manager", "Hiện trong trình quản lý tệp"},
        {LocKey::sessionLostTitle, "Please sign in again", "Cần đăng nhập lại"},
        {LocKey::sessionLostDismiss, "Dismiss", "Bỏ qua"},
        {LocKey::updateNotifTitleFormat, "Ovrel %@ is available", "Ovrel %@ đã có"},
        {LocKey::updateNotifBody, "Click to see what's new.", "Bấm để xem có gì mới."},
        {LocKey::updateCheckFailed, "Couldn't connect, try again.", "Không kết nối được, thử lại."},
        {LocKey::updateAvailableFormat, "Version %@ is available.", "Có bản mới v%@."},
        {LocKey::updateChecking, "Checking…", "Đang kiểm…"},
        // The desktop is not macOS here.
        {LocKey::launchAtLogin, "Launch at login", "Khởi động khi đăng nhập"},
        {LocKey::menuLayoutSection, "Mini apps in the menu", "Cụm mini app trong menu"},
        {LocKey::currentVersionFormat, "Current version: %@", "Phiên bản hiện tại: %@"},
        {LocKey::whatsNewVersionFormat, "Version %@", "Phiên bản %@"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(Loc::t(row.key, AppLanguage::en), QString::fromUtf8(row.en)) << row.en;
        EXPECT_EQ(Loc::t(row.key, AppLanguage::vi), QString::fromUtf8(row.vi)) << row.vi;
    }
}

TEST(LocTables, EnglishTextsOfTheSettingsAndAccountScreens) {
    struct Row {
        LocKey key;
        const char* en;
    };
    const Row rows[] = {
        {LocKey::settingsGeneral, "General"},
        {LocKey::appsInstall, "Install"},
        {LocKey::appsInstalling, "Installing…"},
        {LocKey::appsUninstall, "Uninstall"},
        {LocKey::appsUpdate, "Update"},
        {LocKey::appsNeedsNewerOvrelFormat, "Requires Ovrel %@ or newer"},
        {LocKey::appsNeedsMacOSFormat, "Requires system version %@ or newer"},
        {LocKey::appsModuleInvalidMacOSFormat,
         "Could not open %@: its manifest declares an invalid system version requirement "
         "(\"%@\")"},
        {LocKey::appsInstallFailedFormat, "Install failed: %@"},
        {LocKey::permissionsSectionTitle, "System Permissions"},
        {LocKey::sessionLostRevoked, "Your session has expired."},
        {LocKey::sessionLostUpgraded, "This update changed how your sign-in is stored. Sign in "
                                      "again to resume syncing."},
        {LocKey::appsModuleBroken,
         "Can't read this app's information. You can still remove it from the App Center."},
        {LocKey::appsAutoUpdateDesc,
         "Download and install new versions while the app is closed. Turn off to get a badge "
         "only and update manually. Default ON."},
        {LocKey::appsUninstallConfirmBody,
         "The app will be removed from this computer. You can install it again any time."},
        {LocKey::conflictDescFormat, "Conflict in %@: the cloud and this device differ."},
        {LocKey::signInToSyncDesc, "Sign in to sync your settings and statistics (optional)."},
        {LocKey::clearDataIntro, "Choose what data you want to delete from the server. This "
                                 "deletes immediately and cannot be undone."},
        {LocKey::clearDataTrigger, "Clear my data…"},
        {LocKey::clearDataFailure, "Error, try again later"},
        {LocKey::delete_, "Delete"},
        {LocKey::syncStatusNetworkError, "network error"},
        // Linux has no privacy panel: the button opens the guide.
        {LocKey::permissionOpenSettingsButton, "How to allow it…"},
        {LocKey::pressAKey, "Press a key…"},
        {LocKey::appsSearchPlaceholder, "Search apps…"},
        {LocKey::appsDownloadSizeFormat, "Download size: %@"},
        {LocKey::viewWhatsNew, "See what's new"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(Loc::t(row.key, AppLanguage::en), QString::fromUtf8(row.en)) << row.en;
}
