// Cost of the last install step for a module of realistic size: signature
// check, manifest, swap into Modules/<id>/ and the state entry.

#include "OvrelHub/signature/ModuleSignatureVerifier.h"
#include "OvrelHub/store/FileTree.h"
#include "OvrelHub/store/InstallCompletion.h"
#include "Platform/codesign/CodeSigner.h"
#include "Platform/codesign/SigningIdentity.h"
#include "Platform/crypto/Crypto.h"
#include "Platform/plist/PlistCodec.h"

#include "BenchFiles.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QVariantMap>

#include <benchmark/benchmark.h>
#include <stdexcept>

using namespace ovrel;

namespace {

using bench::writeFile;

// A signed module of everyday size: a 1 MiB program, a 20 KiB icon, a
// manifest and 20 resource files of 4 KiB; staged afresh for each install.
struct Fixture {
    Fixture() {
        pristine = dir.filePath("pristine/Clock.app");
        writeFile(pristine + "/Contents/Info.plist",
                  PlistCodec::toXml(QVariantMap{{"CFBundleIdentifier", "vn.ovrel.module.clock"},
                                                {"CFBundleExecutable", "clock"},
                                                {"CFBundleShortVersionString", "1.2.0"}}));
        writeFile(pristine + "/Contents/MacOS/clock", Crypto::randomBytes(1024 * 1024));
        writeFile(pristine + "/Contents/Resources/icon.png", Crypto::randomBytes(20 * 1024));
        writeFile(ModulePaths::manifestFile(pristine),
                  R"({"id":"clock","version":"1.2.0","minHostVersion":"0.1.0",)"
                  R"("name":{"vi":"Đồng hồ","en":"Clock"},"summary":{"vi":"Xem giờ","en":"Time"},)"
                  R"("menu":[{"command":"open","label":{"vi":"Mở","en":"Open"}}],"settings":[]})");
        for (int i = 0; i < 20; ++i)
            writeFile(pristine + QStringLiteral("/Contents/Resources/data/file%1.dat").arg(i),
                      Crypto::randomBytes(4096));
        CodeSigner::sign(pristine, identity);
    }

    // A copy of the bundle in a fresh staging directory.
    QString stage() {
        const QString work = paths.stagingDir() + QStringLiteral("/%1").arg(++attempts);
        QDir().mkpath(work);
        FileTree::copy(pristine, work + "/Clock.app");
        return work + "/Clock.app";
    }

    QTemporaryDir dir;
    SigningIdentity identity = SigningIdentity::create(QStringLiteral("Bench"));
    QString pristine;
    ModulePaths paths{dir.filePath("Ovrel")};
    ModuleStateStore state{paths};
    ModuleSignatureVerifier verifier{QStringList{identity.leafHash()}};
    InstallCompletion completion{{state, verifier, nullptr, BundleMover::standard(),
                                  [] { return QStringLiteral("14.5.0"); }}};
    int attempts = 0;
};

// Replacing the installed version: backup, move, removal of the old bundle.
void BM_CompleteInstallUpdate(benchmark::State& state) {
    Fixture fixture;
    fixture.completion.complete("clock", fixture.stage(), std::nullopt);
    for (auto _ : state) {
        state.PauseTiming();
        const QString staged = fixture.stage();
        state.ResumeTiming();
        benchmark::DoNotOptimize(fixture.completion.complete("clock", staged, std::nullopt));
    }
}
BENCHMARK(BM_CompleteInstallUpdate)->Unit(benchmark::kMillisecond);

// A first install: nothing to set aside.
void BM_CompleteInstallFresh(benchmark::State& state) {
    Fixture fixture;
    for (auto _ : state) {
        state.PauseTiming();
        FileTree::remove(fixture.paths.moduleDir("clock"));
        fixture.state.save(ModulesState::empty());
        const QString staged = fixture.stage();
        state.ResumeTiming();
        benchmark::DoNotOptimize(fixture.completion.complete("clock", staged, std::nullopt));
    }
}
BENCHMARK(BM_CompleteInstallFresh)->Unit(benchmark::kMillisecond);

// Staging itself, which an install from file adds: copying the bundle.
void BM_StageBundleCopy(benchmark::State& state) {
    Fixture fixture;
    for (auto _ : state) {
        const QString staged = fixture.stage();
        state.PauseTiming();
        FileTree::remove(QFileInfo(staged).path());
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StageBundleCopy)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
