// The limits of downloads and catalog answers, each checked on both sides of
// its edge against the real local service. Large sizes are announced, not
// sent, so no test writes a gibibyte.
#include "CatalogServiceFixture.h"
#include "OvrelHub/store/CatalogError.h"

namespace ovrel::test {
namespace {

struct ServiceLimitsTest : CatalogInstallBase {
    void SetUp() override {
        CatalogInstallBase::SetUp();
        publish(TestBundle());
    }

    // How a download of the clock archive ends: empty when it arrived.
    std::optional<ServiceTransportError::Kind> downloadFailure() {
        const QUrl url = catalog().downloadURL("clock", "1.0.0");
        try {
            const DownloadedArchive archive = await(downloader->download(url));
            QFile::remove(archive.path);
            return std::nullopt;
        } catch (const ServiceTransportError& error) {
            EXPECT_TRUE(stagingLeftovers().isEmpty()) << "a failed download leaves no file";
            return error.kind();
        }
    }

    qint64 archiveSize() const { return QFileInfo(catalogDir + "/clock.zip").size(); }
};

TEST_F(ServiceLimitsTest, DownloadsFollowTwentyRedirectsAndNoMore) {
    startService({"--download-redirects", "20"});
    EXPECT_EQ(installFromCatalog("clock").version(), "1.0.0");

    startService({"--download-redirects", "21"});
    EXPECT_EQ(downloadFailure(), ServiceTransportError::Kind::tooManyRedirects);
    EXPECT_EQ(installFailure("clock"), InstallError::downloadFailed());
    EXPECT_TRUE(stagingLeftovers().isEmpty());
}

TEST_F(ServiceLimitsTest, AnArchiveAnnouncedAboveOneGibibyteIsRefusedBeforeItsBody) {
    startService({"--declare-length", QString::number((qint64(1) << 30) + 1)});
    EXPECT_EQ(downloadFailure(), ServiceTransportError::Kind::tooLarge);

    // Exactly 1 GiB is accepted; this body then ends far short of it.
    startService({"--declare-length", QString::number(qint64(1) << 30)});
    EXPECT_EQ(downloadFailure(), ServiceTransportError::Kind::network);
}

TEST_F(ServiceLimitsTest, AStreamedArchiveStopsAsSoonAsItPassesTheCap) {
    ASSERT_GT(archiveSize(), 0);
    downloadOptions.maxBytes = archiveSize();
    startService({"--chunked"});
    EXPECT_EQ(downloadFailure(), std::nullopt) << "a body of exactly the cap arrives";

    downloadOptions.maxBytes = archiveSize() - 1;
    startService({"--chunked"});
    EXPECT_EQ(downloadFailure(), ServiceTransportError::Kind::tooLarge);
    EXPECT_EQ(ModuleDownloader::Options().maxBytes, qint64(1) << 30);
}

TEST_F(ServiceLimitsTest, CatalogAnswersAreBoundedAtSixteenMebibytes) {
    startService({"--catalog-bytes", QString::number(ModuleCatalogClient::kMaxCatalogBytes)});
    EXPECT_EQ(fetchEntry("clock").latest->version, "1.0.0");

    startService({"--catalog-bytes", QString::number(ModuleCatalogClient::kMaxCatalogBytes + 1)});
    EXPECT_THROW(
        {
            try {
                await(catalog().fetch("1.0.0"));
            } catch (const CatalogError& error) {
                EXPECT_EQ(error.kind(), CatalogError::Kind::badResponse);
                throw;
            }
        },
        CatalogError);
    EXPECT_EQ(ModuleCatalogClient::kMaxCatalogBytes, qint64(16) << 20);
}

} // namespace
} // namespace ovrel::test
