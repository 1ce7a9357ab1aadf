#include "OvrelLite/commandline/HubCommandLine.h"
#include "OvrelHub/store/InstallError.h"
#include "OvrelLite/commandline/HubCommands.h"
#include "OvrelLite/commandline/InstallFailureText.h"
#include "OvrelLite/commandline/ListCommand.h"

#include <gtest/gtest.h>

using namespace ovrel;
using Kind = HubCommandLine::Parsed::Kind;

namespace {
HubCommandLine::Parsed parse(const QStringList& arguments) {
    return HubCommandLine::parse(arguments, "/home/u/work");
}
} // namespace

TEST(HubCommandLineTest, ReadsCommandsWithTheirArgumentsAndFlags) {
    auto parsed = parse({"--install", "A.app", "/abs/B.app"});
    ASSERT_EQ(parsed.kind, Kind::command);
    EXPECT_EQ(parsed.command->name, "install");
    EXPECT_EQ(parsed.invocation.arguments, (QStringList{"A.app", "/abs/B.app"}));
    EXPECT_EQ(parsed.invocation.absolutePath("A.app"), "/home/u/work/A.app");
    EXPECT_EQ(parsed.invocation.absolutePath("../x/./B.app"), "/home/u/x/B.app");
    EXPECT_EQ(parsed.invocation.absolutePath("/abs/B.app"), "/abs/B.app");

    parsed = parse({"--uninstall", "clock", "--keep-settings"});
    ASSERT_EQ(parsed.kind, Kind::command);
    EXPECT_EQ(parsed.invocation.arguments, QStringList{"clock"});
    EXPECT_TRUE(parsed.invocation.flags.contains("keep-settings"));
    EXPECT_FALSE(parse({"--uninstall", "clock"}).invocation.flags.contains("keep-settings"));

    parsed = parse({"--send", "clock", "showZone", "Asia/Ho_Chi_Minh"});
    ASSERT_EQ(parsed.kind, Kind::command);
    EXPECT_EQ(parsed.invocation.arguments.size(), 3);
    EXPECT_EQ(parse({"--list"}).command->name, "list");
    EXPECT_EQ(parse({"--print-menu"}).command->name, "print-menu");
    EXPECT_EQ(parse({"--register-desktop"}).command->runs, HubCommand::Runs::inCallingProcess);
}

TEST(HubCommandLineTest, WrongCommandLinesAreUsageErrors) {
    const QList<QStringList> wrong{
        {"--install"},                      // no bundle
        {"--uninstall"},                    // no id
        {"--uninstall", "a", "b"},          // two ids
        {"--send", "clock"},                // no command
        {"--send", "clock", "a", "b", "c"}, // too many
        {"--list", "extra"},                // no arguments
        {"--list", "--print-menu"},         // two commands
        {"--keep-settings", "--uninstall"}, // a flag before its command
        {"--list", "--keep-settings"},      // a flag of another command
        {"--frobnicate"},                   // unknown
        {"somefile"},                       // not a URL of ours
        {"https://example.com/"},           // another scheme
        {"--exit-when-ready", "--list"},    // a hub option with a command
        {"ovrel-lite://auth?code=1", "--list"},
    };
    for (const QStringList& arguments : wrong) {
        const auto parsed = parse(arguments);
        EXPECT_EQ(parsed.kind, Kind::usageError) << qPrintable(arguments.join(' '));
        EXPECT_FALSE(parsed.error.isEmpty());
    }
    const CommandLineOutcome outcome = HubCommandLine::usageFailure("unknown option --x");
    EXPECT_EQ(outcome.status, ExitStatus::usage);
    EXPECT_EQ(outcome.errors, "ovrel-lite: unknown option --x\n"
                              "Try 'ovrel-lite --help' for more information.\n");
}

TEST(HubCommandLineTest, WithoutACommandTheHubStartsWithItsUrls) {
    auto parsed = parse({});
    EXPECT_EQ(parsed.kind, Kind::startHub);
    EXPECT_TRUE(parsed.urls.isEmpty());
    parsed = parse({"ovrel-lite://auth?code=abc&state=1", "--exit-when-ready"});
    ASSERT_EQ(parsed.kind, Kind::startHub);
    EXPECT_TRUE(parsed.exitWhenReady);
    ASSERT_EQ(parsed.urls.size(), 1);
    EXPECT_EQ(parsed.urls.first().host(), "auth");
    EXPECT_EQ(parse({"--list", "--help"}).kind, Kind::help);
    EXPECT_EQ(parse({"-v"}).kind, Kind::version);

    const QString usage = HubCommandLine::usage();
    for (const HubCommand& command : HubCommands::all())
        EXPECT_TRUE(usage.contains("--" + command.name)) << qPrintable(command.name);
}

TEST(HubCommandLineTest, FailureTextsAreTheStoresWithParticularsAndNoCaseNames) {
    const AppLanguage en = AppLanguage::en;
    EXPECT_EQ(InstallFailureText::forInstall(
                  InstallError::signatureRejected(SignatureError::rejected(-67050)), en),
              "Install failed: Couldn't load the app list.\n"
              "  signature: -67050 errSecCSReqFailed (code failed to satisfy specified code "
              "requirement(s))");
    EXPECT_EQ(InstallFailureText::forInstall(
                  InstallError::badManifest(
                      ManifestError(ManifestError::Kind::missingRequiredLanguage, "menu.x.label")),
                  en),
              "Install failed: Couldn't load the app list.\n"
              "  manifest: a text lacks a required language (vi and en are required): "
              "\"menu.x.label\"");
    EXPECT_EQ(InstallFailureText::forInstall(InstallError::macOSTooOld("99.0"), en),
              "Install failed: Requires system version 99.0 or newer");
    EXPECT_EQ(InstallFailureText::forUninstall(InstallError::invalidId(), AppLanguage::vi),
              QString::fromUtf8("Không tải được danh sách ứng dụng.\n"
                                "  not a valid module id (1-32 characters a-z, 0-9 or -)"));
    // The particulars never name a case, whatever the error.
    const InstallError errors[] = {
        InstallError::checksumMismatch("aa", "bb"),
        InstallError::unzip("entry ../x"),
        InstallError::badManifest(ManifestError(ManifestError::Kind::idMismatch)),
        InstallError::downloadFailed(),
        InstallError::signatureRejected(),
        InstallError::signatureRejected(SignatureError::cannotRead()),
        InstallError::installFailed()};
    for (const InstallError& error : errors) {
        const QString text = InstallFailureText::forInstall(error, en);
        for (const char* name :
             {"checksumMismatch", "unzip(", "badManifest", "idMismatch", "downloadFailed",
              "signatureRejected", "cannotRead", "installFailed"})
            EXPECT_FALSE(text.contains(name)) << qPrintable(text);
        EXPECT_TRUE(text.contains("\n  ")) << "each has its particulars: " << qPrintable(text);
    }
    EXPECT_EQ(InstallError::signatureRejected(SignatureError::rejected(-67050)),
              InstallError::signatureRejected())
        << "the verifier's finding is not part of the case";
}

TEST(HubCommandLineTest, ListTableAlignsColumnsAndKeepsTheTerminalSafe) {
    ModuleListRow clock;
    clock.module.id = "clock";
    clock.module.version = "1.10.0";
    ModuleListRow evil;
    evil.module.id = "x";
    evil.module.version = "1\x1b[2J\n2";
    evil.running = true;
    evil.usage = ResidentUsage{{42}, 23'400'000, 1.25, false};
    EXPECT_EQ(moduleListTable({clock, evil}),
              "ID     VERSION  MODE  RUNNING  HEALTH\n"
              "clock  1.10.0   -     no       -\n"
              "x      1?[2J?2  -     yes      23.4 MB, CPU 1.25 s\n");
}
