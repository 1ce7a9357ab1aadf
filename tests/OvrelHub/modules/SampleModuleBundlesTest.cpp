#include "OvrelConfig/ModuleHotkeyConflict.h"
#include "OvrelHub/signature/ModuleSignatureVerifier.h"
#include "OvrelHub/signature/SignatureError.h"
#include "OvrelModuleKit/manifest/ModuleManifest.h"
#include "Platform/codesign/CodeSigningStatus.h"
#include "Platform/plist/PlistCodec.h"
#include "TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <archive.h>
#include <archive_entry.h>
#include <gtest/gtest.h>
#include <memory>

using namespace ovrel;

namespace {

struct Sample {
    QString name;
    QString id;
};

const Sample kSamples[] = {{"Clock", "clock"}, {"Pulse", "pulse"}};

QString modulesDir() {
    return QStringLiteral(OVREL_BINARY_DIR "/modules");
}

QString bundleOf(const Sample& sample) {
    return modulesDir() + "/" + sample.name + ".app";
}

ModuleManifest manifestOf(const Sample& sample) {
    const auto bytes = ModuleManifest::readData(bundleOf(sample));
    if (!bytes)
        throw std::runtime_error("no manifest in " + sample.name.toStdString());
    return ModuleManifest::load(*bytes, sample.id);
}

QVariantMap infoOf(const Sample& sample) {
    return PlistCodec::parse(test::readFile(bundleOf(sample) + "/Contents/Info.plist"))
        .value_or(QVariant())
        .toMap();
}

QStringList zipEntries(const QString& zip) {
    std::unique_ptr<archive, decltype(&archive_read_free)> reader(archive_read_new(),
                                                                  archive_read_free);
    archive_read_support_format_zip(reader.get());
    QStringList names;
    if (archive_read_open_filename(reader.get(), QFile::encodeName(zip).constData(), 16384) !=
        ARCHIVE_OK)
        return names;
    archive_entry* entry = nullptr;
    while (archive_read_next_header(reader.get(), &entry) == ARCHIVE_OK)
        names.append(QString::fromUtf8(archive_entry_pathname(entry)));
    return names;
}

// Every text of the module is there in every interface language.
void expectAllLanguages(const LocalizedText& text, const std::string& what) {
    for (const QString& code : LocalizedText::supportedCodes())
        EXPECT_TRUE(text.values().contains(code)) << what << " lacks " << code.toStdString();
}

class SampleModuleBundlesTest : public ::testing::TestWithParam<Sample> {};

} // namespace

TEST_P(SampleModuleBundlesTest, SignatureSatisfiesTheHubsRequirement) {
    const Sample sample = GetParam();
    EXPECT_NO_THROW(ModuleSignatureVerifier().verify(bundleOf(sample), sample.id));

    // The same check through the command-line tool, with the requirement text the hub writes.
    QProcess tool;
    tool.start(QStringLiteral(OVREL_BINARY_DIR "/tools/ovrel-codesign/ovrel-codesign"),
               {"verify", "--requirement",
                ModuleSignatureVerifier::requirement(sample.id,
                                                     ModuleSignatureVerifier::acceptedLeafHashes()),
                bundleOf(sample)});
    ASSERT_TRUE(tool.waitForFinished(60000));
    EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
}

TEST_P(SampleModuleBundlesTest, SignatureIsBoundToTheModuleId) {
    const Sample sample = GetParam();
    const QString otherId = sample.id == "clock" ? "pulse" : "clock";
    try {
        ModuleSignatureVerifier().verify(bundleOf(sample), otherId);
        FAIL() << "accepted under another module's id";
    } catch (const SignatureError& error) {
        EXPECT_EQ(error.status(), CodeSigningStatus::errSecCSReqFailed);
    }
}

TEST_P(SampleModuleBundlesTest, InfoPlistDescribesTheBundle) {
    const Sample sample = GetParam();
    const QVariantMap info = infoOf(sample);
    EXPECT_EQ(info.value("CFBundleIdentifier").toString(), "vn.ovrel.module." + sample.id);
    EXPECT_EQ(info.value("CFBundleName").toString(), sample.name);
    EXPECT_EQ(info.value("CFBundleShortVersionString").toString(), manifestOf(sample).version());

    const QFileInfo program(bundleOf(sample) + "/Contents/MacOS/" +
                            info.value("CFBundleExecutable").toString());
    EXPECT_TRUE(program.isFile() && program.isExecutable()) << program.filePath().toStdString();

    const QString icon =
        bundleOf(sample) + "/Contents/Resources/" + info.value("CFBundleIconFile").toString();
    const QImage image(icon);
    EXPECT_FALSE(image.isNull()) << icon.toStdString();
    EXPECT_GE(image.width(), 64);
    EXPECT_EQ(image.width(), image.height());
}

TEST_P(SampleModuleBundlesTest, ZipHoldsTheBundleAtTheTop) {
    const Sample sample = GetParam();
    const QStringList entries = zipEntries(modulesDir() + "/" + sample.name + ".zip");
    ASSERT_FALSE(entries.isEmpty());
    for (const QString& entry : entries)
        EXPECT_TRUE(entry.startsWith(sample.name + ".app/")) << entry.toStdString();
    for (const char* file :
         {"Contents/Info.plist", "Contents/Resources/manifest.json",
          "Contents/_CodeSignature/CodeSignature", "Contents/_CodeSignature/CodeResources"})
        EXPECT_TRUE(entries.contains(sample.name + ".app/" + file)) << file;
}

TEST_P(SampleModuleBundlesTest, ManifestLoadsWithEveryTextInEveryLanguage) {
    const Sample sample = GetParam();
    ModuleManifest manifest = manifestOf(sample);
    EXPECT_EQ(manifest.id(), sample.id);
    expectAllLanguages(manifest.name(), "name");
    expectAllLanguages(manifest.summary(), "summary");
    for (const MenuEntry& entry : manifest.menu())
        expectAllLanguages(entry.label, entry.command.toStdString());
    for (const SettingGroup& group : manifest.settingGroups())
        expectAllLanguages(group.label, group.id.toStdString());
    for (const SettingSpec& setting : manifest.settings()) {
        expectAllLanguages(setting.label(), setting.key().toStdString());
        if (const auto* spec = std::get_if<EnumSpec>(&setting.variant()))
            for (const EnumOption& option : spec->options)
                expectAllLanguages(option.label, option.value.toStdString());
    }
    EXPECT_FALSE(manifest.dynamicCommands().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Samples, SampleModuleBundlesTest, ::testing::ValuesIn(kSamples),
                         [](const auto& info) { return info.param.name.toStdString(); });

TEST(SampleClockModuleTest, OnDemandWithWindowHotkeysAndAllFourSettingKinds) {
    const ModuleManifest manifest = manifestOf({"Clock", "clock"});
    EXPECT_EQ(manifest.mode(), ModuleMode::onDemand);
    EXPECT_TRUE(manifest.openWindowOnLaunch());

    ASSERT_EQ(manifest.menu().size(), 2);
    for (const MenuEntry& entry : manifest.menu())
        EXPECT_TRUE(ModuleHotkeyConflict::defaultHotkey(entry.hotkeyDefault))
            << entry.command.toStdString();
    EXPECT_NE(ModuleHotkeyConflict::defaultHotkey(manifest.menu()[0].hotkeyDefault),
              ModuleHotkeyConflict::defaultHotkey(manifest.menu()[1].hotkeyDefault));

    QSet<SettingSpec::Kind> kinds;
    QSet<QString> groups;
    for (const SettingSpec& setting : manifest.settings()) {
        kinds.insert(setting.kind());
        groups.insert(setting.group().value_or(QString()));
    }
    EXPECT_EQ(kinds.size(), 4);
    EXPECT_EQ(groups, (QSet<QString>{"display", "timing"}));
}

TEST(SamplePulseModuleTest, ResidentWithoutWindowDeclaringItsPermission) {
    const ModuleManifest manifest = manifestOf({"Pulse", "pulse"});
    EXPECT_EQ(manifest.mode(), ModuleMode::resident);
    EXPECT_FALSE(manifest.openWindowOnLaunch());
    EXPECT_EQ(manifest.permissions(), QList<PermissionKind>{PermissionKind::inputMonitoring});
    for (const char* command : {"pause", "resume", "breakNow"})
        EXPECT_TRUE(manifest.dynamicCommands().contains(command)) << command;
}
