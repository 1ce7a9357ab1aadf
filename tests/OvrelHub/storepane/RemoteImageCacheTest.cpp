#include "OvrelHub/shell/ServiceRequest.h"
#include "OvrelHub/storepane/RemoteImageCache.h"
#include "TestSupport.h"

#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

using namespace ovrel;

// Icons are decoded on a worker; a cache that goes while one is being decoded
// (a settings window closed at once) drops it and calls nobody back, and a
// cache that stays delivers each icon once per bundle and version.
TEST(RemoteImageCacheTest, ACacheGoneDuringADecodeDropsItAndOneThatStaysDelivers) {
    const QString bundle = QStringLiteral(OVREL_BINARY_DIR "/modules/Clock.app");
    ServiceNetwork network;
    int delivered = 0;
    for (int round = 0; round < 20; ++round) {
        QObject receiver;
        auto cache = std::make_unique<RemoteImageCache>(network);
        cache->requestBundleIcon(bundle, "1.0.0", &receiver, [&](const QImage&) { ++delivered; });
        cache.reset();
        QTest::qWait(5);
    }
    QTest::qWait(50);
    EXPECT_EQ(delivered, 0);

    RemoteImageCache cache(network);
    QObject receiver;
    QImage icon;
    cache.requestBundleIcon(bundle, "1.0.0", &receiver, [&](const QImage& image) {
        icon = image;
        ++delivered;
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return delivered == 1; }, 10000));
    EXPECT_EQ(icon.width(), RemoteImageCache::kBundleIconSide);
    cache.requestBundleIcon(bundle, "1.0.0", &receiver, [&](const QImage&) { ++delivered; });
    EXPECT_EQ(delivered, 2); // known: at once
}
