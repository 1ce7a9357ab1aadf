#pragma once

// Module bundles with valid manifests, signed at test time, a modules root of
// their own, and fakes for the install pipeline's collaborators.

#include "ModuleBundleFixture.h"
#include "OvrelHub/modules/ModuleStateStore.h"
#include "OvrelHub/modules/ResidentRegistering.h"
#include "OvrelHub/signature/ModuleSignatureVerifier.h"
#include "OvrelModuleKit/manifest/ManifestError.h"
#include "Platform/codesign/CodeSigner.h"
#include "Platform/codesign/SigningIdentity.h"
#include "TestSupport.h"

#include <QFuture>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <mutex>
#include <ostream>
#include <stdexcept>
#include <type_traits>

namespace ovrel {
inline void PrintTo(const ManifestError& error, std::ostream* os) {
    *os << error.what();
}
} // namespace ovrel

namespace ovrel::test {

// A manifest with the required keys, valid for `id`; `extra` keys are added.
inline QJsonObject manifestObject(const QString& id, const QString& version = "1.0.0",
                                  const QJsonObject& extra = {}) {
    QJsonObject manifest{{"id", id},
                         {"version", version},
                         {"minHostVersion", "0.1.0"},
                         {"name", QJsonObject{{"vi", "Đồng hồ"}, {"en", "Clock"}}},
                         {"summary", QJsonObject{{"vi", "Xem giờ"}, {"en", "Shows the time"}}},
                         {"menu", QJsonArray{}},
                         {"settings", QJsonArray{}}};
    for (auto it = extra.begin(); it != extra.end(); ++it)
        manifest.insert(it.key(), it.value());
    return manifest;
}

inline QByteArray manifestBytes(const QString& id, const QString& version = "1.0.0",
                                const QJsonObject& extra = {}) {
    return QJsonDocument(manifestObject(id, version, extra)).toJson(QJsonDocument::Compact);
}

// What a test bundle looks like.
struct TestBundle {
    QString id = "clock";
    QString version = "1.0.0";
    QString appName = "Clock.app";
    QJsonObject extraManifestKeys;
    QByteArray executableBytes = QByteArray("\x7f"
                                            "ELF clock 1.0.0");
    // Replaces the generated manifest when set.
    std::optional<QByteArray> manifest;

    BundleSpec spec() const {
        BundleSpec s;
        s.id = id;
        s.appName = appName;
        s.executable = id;
        s.executableBytes = executableBytes;
        s.manifest = manifest.value_or(manifestBytes(id, version, extraManifestKeys));
        return s;
    }
};

// Writes the bundle into `parent` and signs it with `identity`.
inline QString writeSignedBundle(const QString& parent, const TestBundle& bundle,
                                 const SigningIdentity& identity) {
    const QString path = writeModuleBundle(parent, bundle.spec());
    CodeSigner::sign(path, identity);
    return path;
}

// Records agent requests; fails them when told to.
class FakeResident : public ResidentRegistering {
public:
    void registerModule(const QString& id, const QString& bundle) override {
        const std::lock_guard guard(lock);
        calls.append("register " + id + " " + bundle);
        if (failRegister)
            throw std::runtime_error("bootstrap failed (5)");
    }
    void unregisterModule(const QString& id) override {
        const std::lock_guard guard(lock);
        calls.append("unregister " + id);
        if (failUnregister)
            throw std::runtime_error("bootout failed (5)");
    }
    QStringList recorded() const {
        const std::lock_guard guard(lock);
        return calls;
    }

    bool failRegister = false;
    bool failUnregister = false;

private:
    mutable std::mutex lock;
    QStringList calls;
};

// The future's value once it finished, with the event loop running meanwhile;
// rethrows the future's exception.
template <class T> T await(QFuture<T> future) {
    if (!QTest::qWaitFor([&] { return future.isFinished(); }, 30000))
        throw std::runtime_error("the operation did not finish");
    if constexpr (std::is_void_v<T>)
        future.waitForFinished();
    else
        return future.result();
}

// A signing identity per test program: creating one costs a key generation.
inline const SigningIdentity& testIdentity() {
    static const SigningIdentity identity = SigningIdentity::create("Install tests");
    return identity;
}

} // namespace ovrel::test
