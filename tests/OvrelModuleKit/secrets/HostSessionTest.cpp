#include "OvrelModuleKit/secrets/HostSession.h"
#include "FakeMachineIdentity.h"
#include "OvrelModuleKit/secrets/SecretStore.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace ovrel;
using ovrel::test::FakeMachineIdentity;
using ovrel::test::TempDir;

namespace {

class HostSessionTest : public testing::Test {
protected:
    TempDir dir;
    ModulePaths paths{dir.path()};
    // What the hub does at sign-in.
    void hubSignsIn(const QString& machineID, const QString& token) {
        SecretStore(paths.secretsDir(), machineID).save(token, "session");
    }
};

} // namespace

TEST_F(HostSessionTest, ReadsTheHubsSessionSecret) {
    EXPECT_EQ(HostSession::secretName, "session");
    EXPECT_EQ(HostSession::state(paths, "M1"), SecretLoad::missing());
    EXPECT_EQ(HostSession::token(paths, "M1"), std::nullopt);
    hubSignsIn("M1", "bearer-token");
    EXPECT_EQ(HostSession::state(paths, "M1"), SecretLoad::ok("bearer-token"));
    EXPECT_EQ(HostSession::token(paths, "M1"), "bearer-token");
    EXPECT_TRUE(QFile::exists(dir.file("secrets/session.bin")));
}

TEST_F(HostSessionTest, SessionOfAnotherMachineGivesNoToken) {
    hubSignsIn("M1", "bearer-token");
    EXPECT_EQ(HostSession::state(paths, "M2"), SecretLoad::unreadable());
    EXPECT_EQ(HostSession::token(paths, "M2"), std::nullopt);
}

TEST_F(HostSessionTest, MachineIdComesFromTheIdentityElseTheFallback) {
    hubSignsIn("M1", "from identity");
    const FakeMachineIdentity m1("M1");
    EXPECT_EQ(HostSession::token(paths, std::nullopt, m1), "from identity");
    // An explicit machine id wins over the identity.
    EXPECT_EQ(HostSession::state(paths, "M2", m1), SecretLoad::unreadable());

    const FakeMachineIdentity none(std::nullopt);
    EXPECT_EQ(HostSession::state(paths, std::nullopt, none), SecretLoad::unreadable());
    hubSignsIn(SecretStore::fallbackMachineID(), "from fallback");
    EXPECT_EQ(HostSession::token(paths, std::nullopt, none), "from fallback");
}
