#include "Platform/desktop/DesktopEntry.h"
#include "Platform/desktop/DesktopRegistration.h"
#include "TestSupport.h"

#include <QStandardPaths>
#include <gtest/gtest.h>

using namespace ovrel;

namespace {

QString entryWithExec(const test::TempDir& dir, const QString& exec) {
    const QString path = dir.file("vn.ovrel.app.desktop");
    test::writeFile(path, ("[Desktop Entry]\nType=Application\nName=Other\nExec=" + exec +
                           "\n\n[Desktop Action new]\nExec=/elsewhere/other\n")
                              .toUtf8());
    return path;
}

} // namespace

TEST(DesktopEntryTest, ExecWordsUndoTheSpecificationsQuoting) {
    EXPECT_EQ(DesktopEntry::execWords(R"("/opt/My App/ovrel" --flag %u)"),
              (QStringList{"/opt/My App/ovrel", "--flag", "%u"}));
    EXPECT_EQ(DesktopEntry::execWords(R"(sh -c "echo \"\$HOME\"")"),
              (QStringList{"sh", "-c", R"(echo "$HOME")"}));
    EXPECT_TRUE(DesktopEntry::execWords(R"("/opt/unclosed %u)").isEmpty());
}

TEST(DesktopEntryTest, InstalledLocationLooksThroughEnvAndNeverNamesAWrapper) {
    test::TempDir dir;
    struct Case {
        const char* exec;
        std::optional<QString> expected; // "ENTRY": the desktop entry itself
    };
    const Case cases[] = {
        {"/opt/ovrel/ovrel-app %u", "/opt/ovrel/ovrel-app"},
        {"env LANG=vi_VN.UTF-8 QT_SCALE=2 /opt/ovrel/ovrel-app %u", "/opt/ovrel/ovrel-app"},
        {"/usr/bin/env -u DISPLAY -i A=1 /opt/ovrel/ovrel-app", "/opt/ovrel/ovrel-app"},
        {R"("/opt/My App/ovrel-app" %u)", "/opt/My App/ovrel-app"},
        {"flatpak run vn.ovrel.app %u", "ENTRY"},
        {"/usr/bin/flatpak run --branch=stable vn.ovrel.app", "ENTRY"},
        {R"(sh -c "cd /opt && ./ovrel-app")", "ENTRY"},
        {R"(bash -lc "/opt/ovrel/ovrel-app")", "ENTRY"},
        {R"(env -S "/opt/ovrel/ovrel-app --x")", "ENTRY"},
        {"env FOO=1", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) {
        const QString entry = entryWithExec(dir, c.exec);
        const std::optional<QString> expected =
            c.expected == QString("ENTRY") ? std::optional<QString>(entry) : c.expected;
        EXPECT_EQ(DesktopEntry::installedLocation(entry), expected) << c.exec;
    }
    // A program found on PATH is resolved; the wrapper is never the answer.
    const QString shEntry = entryWithExec(dir, "env X=1 sh /opt/script");
    EXPECT_EQ(DesktopEntry::executable(shEntry), QStandardPaths::findExecutable("sh"));
    EXPECT_EQ(DesktopEntry::executable(entryWithExec(dir, "flatpak run vn.ovrel.app")),
              std::nullopt);
}

TEST(DesktopRegistrationTest, EntryQuotesTheProgramForExec) {
    const QString text = DesktopRegistration::entryText("Exec=@EXEC@ %u\n", R"(/opt/a b/$x"%\y)");
    // Exec quoting (\" \$ \\ and %%), then the entry format doubles each backslash.
    EXPECT_EQ(text, R"(Exec="/opt/a b/\\$x\\"%%\\\\y" %u)"
                    "\n");
    test::TempDir dir;
    const QString path = entryWithExec(dir, text.mid(5).trimmed());
    EXPECT_EQ(DesktopEntry::installedLocation(path), R"(/opt/a b/$x"%\y)")
        << "what is written reads back as the same program";
}

TEST(DesktopRegistrationTest, DefaultApplicationKeepsEveryOtherLine) {
    const QString key = "x-scheme-handler/ovrel-lite";
    // No file yet.
    EXPECT_EQ(DesktopRegistration::withDefaultApplication("", key, "vn.ovrel.lite"),
              "[Default Applications]\nx-scheme-handler/ovrel-lite=vn.ovrel.lite.desktop;\n");
    // Another group only: the default group is added after it.
    EXPECT_EQ(DesktopRegistration::withDefaultApplication(
                  "[Added Associations]\ntext/plain=gedit.desktop;\n", key, "vn.ovrel.lite"),
              "[Added Associations]\ntext/plain=gedit.desktop;\n\n[Default Applications]\n"
              "x-scheme-handler/ovrel-lite=vn.ovrel.lite.desktop;\n");
    // The key exists: replaced in place.
    EXPECT_EQ(DesktopRegistration::withDefaultApplication(
                  "# mine\n[Default Applications]\nx-scheme-handler/ovrel-lite=old.desktop\n"
                  "text/html=firefox.desktop\n",
                  key, "vn.ovrel.lite"),
              "# mine\n[Default Applications]\n"
              "x-scheme-handler/ovrel-lite=vn.ovrel.lite.desktop;\ntext/html=firefox.desktop\n");
    // The group exists without the key: added at its end, before the next group.
    EXPECT_EQ(DesktopRegistration::withDefaultApplication(
                  "[Default Applications]\ntext/html=firefox.desktop\n\n[Removed Associations]\n"
                  "x-scheme-handler/ovrel-lite=old.desktop\n",
                  key, "vn.ovrel.lite"),
              "[Default Applications]\ntext/html=firefox.desktop\n"
              "x-scheme-handler/ovrel-lite=vn.ovrel.lite.desktop;\n\n[Removed Associations]\n"
              "x-scheme-handler/ovrel-lite=old.desktop\n");
}
