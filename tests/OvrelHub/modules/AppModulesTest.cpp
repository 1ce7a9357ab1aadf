#include "OvrelHub/modules/AppModules.h"
#include "FakeWorkspace.h"
#include "OvrelHub/modules/ModulesChanged.h"
#include "OvrelHub/shell/ServiceEndpoints.h"
#include "Platform/notify/NotificationCenter.h"
#include "Platform/plist/UserDefaults.h"
#include "Platform/system/SystemLog.h"
#include "TestSupport.h"

#include <QScopeGuard>
#include <gtest/gtest.h>

using namespace ovrel;

TEST(AppModulesTest, EveryServiceWorksOverTheSamePaths) {
    test::TempDir dir;
    test::FakeWorkspace workspace;
    AppModules modules(ModulePaths(dir.file("Ovrel")), workspace, {QString(40, 'a')});
    EXPECT_EQ(modules.paths.root(), dir.file("Ovrel"));
    EXPECT_EQ(modules.state.paths(), modules.paths);
    EXPECT_EQ(modules.store.paths(), modules.paths);
    EXPECT_EQ(modules.settings.paths(), modules.paths);
    EXPECT_EQ(modules.verifier.hashes(), QStringList{QString(40, 'a')});
}

TEST(AppModulesTest, SharedInstanceIsBuiltOnceOverTheDefaultPaths) {
    AppModules& shared = AppModules::shared();
    EXPECT_EQ(&shared, &AppModules::shared());
    EXPECT_EQ(shared.paths, ModulePaths::defaultPaths());
    EXPECT_EQ(shared.verifier.hashes(), ModuleSignatureVerifier::acceptedLeafHashes());
}

TEST(AppModulesTest, ApiBaseTakesAUsableOverrideFromTheUserDefaults) {
    UserDefaults& defaults = UserDefaults::standard();
    const std::optional<QVariant> previous = defaults.object("apiBaseURL");
    const auto restore = qScopeGuard([&] {
        if (previous)
            defaults.set("apiBaseURL", *previous);
        else
            defaults.remove("apiBaseURL");
    });

    defaults.remove("apiBaseURL");
    EXPECT_EQ(AppModules::apiBase(), QUrl(ServiceEndpoints::builtInBase()));

    defaults.set("apiBaseURL", "http://127.0.0.1:8080/");
    EXPECT_EQ(AppModules::apiBase(), QUrl("http://127.0.0.1:8080/"));

    SystemLogCapture log;
    defaults.set("apiBaseURL", "localhost:8080");
    EXPECT_EQ(AppModules::apiBase(), QUrl(ServiceEndpoints::builtInBase()));
    EXPECT_TRUE(log.contains("Ovrel: apiBaseURL override \"localhost:8080\" không phải URL hợp lệ "
                             "— dùng lại địa chỉ mặc định"));
}

TEST(AppModulesTest, ModulesChangedIsPostedUnderItsName) {
    QObject context;
    int seen = 0;
    NotificationCenter::defaultCenter().observe("vn.ovrel.modulesChanged", &context,
                                                [&] { ++seen; });
    postModulesChanged();
    EXPECT_EQ(seen, 1);
    EXPECT_STREQ(ovrelModulesChanged, "vn.ovrel.modulesChanged");
}
