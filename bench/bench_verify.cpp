// Cost of checking a module bundle's signature, the check the hub runs on
// every install and before opening a module whose bundle changed.

#include "OvrelHub/signature/ModuleSignatureVerifier.h"
#include "Platform/codesign/CodeSigner.h"
#include "Platform/codesign/CompiledRequirement.h"
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

// A bundle the size of a small module: a 1 MiB program, a 20 KiB icon, a
// manifest, and `extraResources` further 4 KiB files.
struct ModuleBundle {
    explicit ModuleBundle(int extraResources = 0) {
        path = dir.filePath(QStringLiteral("Clock.app"));
        writeFile(
            path + QStringLiteral("/Contents/Info.plist"),
            PlistCodec::toXml(QVariantMap{
                {QStringLiteral("CFBundleIdentifier"), QStringLiteral("vn.ovrel.module.clock")},
                {QStringLiteral("CFBundleExecutable"), QStringLiteral("clock")},
                {QStringLiteral("CFBundleShortVersionString"), QStringLiteral("1.2.0")},
                {QStringLiteral("CFBundleIconFile"), QStringLiteral("icon.png")}}));
        writeFile(path + QStringLiteral("/Contents/MacOS/clock"), Crypto::randomBytes(1024 * 1024));
        writeFile(path + QStringLiteral("/Contents/Resources/icon.png"),
                  Crypto::randomBytes(20 * 1024));
        writeFile(
            path + QStringLiteral("/Contents/Resources/manifest.json"),
            QByteArray(R"({"id":"clock","version":"1.2.0","names":{"en":"Clock"}})").repeated(40));
        for (int i = 0; i < extraResources; ++i)
            writeFile(path + QStringLiteral("/Contents/Resources/extra/file%1.dat").arg(i),
                      Crypto::randomBytes(4096));
        CodeSigner::sign(path, identity);
    }

    QTemporaryDir dir;
    SigningIdentity identity = SigningIdentity::create(QStringLiteral("Bench"));
    QString path;
};

void BM_VerifyModuleBundle(benchmark::State& state) {
    const ModuleBundle bundle(static_cast<int>(state.range(0)));
    const ModuleSignatureVerifier verifier({bundle.identity.leafHash()});
    for (auto _ : state)
        verifier.verify(bundle.path, QStringLiteral("clock"));
}
BENCHMARK(BM_VerifyModuleBundle)->Arg(0)->Arg(200)->Unit(benchmark::kMillisecond);

void BM_RejectForeignSigner(benchmark::State& state) {
    const ModuleBundle bundle;
    const ModuleSignatureVerifier verifier(
        {SigningIdentity::create(QStringLiteral("Other")).leafHash()});
    for (auto _ : state) {
        try {
            verifier.verify(bundle.path, QStringLiteral("clock"));
        } catch (const std::exception&) {
            benchmark::ClobberMemory();
        }
    }
}
BENCHMARK(BM_RejectForeignSigner)->Unit(benchmark::kMillisecond);

void BM_SignModuleBundle(benchmark::State& state) {
    const ModuleBundle bundle;
    for (auto _ : state)
        CodeSigner::sign(bundle.path, bundle.identity);
}
BENCHMARK(BM_SignModuleBundle)->Unit(benchmark::kMillisecond);

void BM_CompileRequirement(benchmark::State& state) {
    const QString text = ModuleSignatureVerifier::requirement(
        QStringLiteral("clock"), {QString(40, QLatin1Char('a')), QString(40, QLatin1Char('b'))});
    for (auto _ : state)
        benchmark::DoNotOptimize(CompiledRequirement::compile(text));
}
BENCHMARK(BM_CompileRequirement);

void BM_CreateIdentity(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(SigningIdentity::create(QStringLiteral("Bench")));
}
BENCHMARK(BM_CreateIdentity)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
