#include "Platform/network/LoadedHttpTransport.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace ovrel;

// Without its library the transport still answers every exchange, from the
// event loop and as a failure that says what is missing; with it, exchanges
// reach the network.
TEST(LoadedHttpTransportTest, AMissingLibraryFailsEachExchangeAndNamesIt) {
    LoadedHttpTransport transport({"/nonexistent/libovrel-network.so"});
    std::optional<HttpEnd> end;
    int ends = 0;
    HttpHop hop;
    hop.url = QUrl("http://127.0.0.1:9/");
    auto exchange = transport.start(hop, {{}, {}, [&](const HttpEnd& e) {
                                              end = e;
                                              ++ends;
                                          }});
    EXPECT_FALSE(end); // not from inside start()
    ASSERT_TRUE(QTest::qWaitFor([&] { return end.has_value(); }, 5000));
    EXPECT_TRUE(end->failed);
    EXPECT_TRUE(end->error.startsWith("the network library is missing: cannot load "
                                      "/nonexistent/libovrel-network.so"))
        << end->error.toStdString();

    // A dropped exchange reports nothing.
    auto dropped = transport.start(hop, {{}, {}, [&](const HttpEnd&) { ++ends; }});
    dropped.reset();
    QTest::qWait(20);
    EXPECT_EQ(ends, 1);
    transport.prepareEncryption(); // nothing to prepare, and no crash
}

TEST(LoadedHttpTransportTest, TheBuiltLibraryCarriesExchanges) {
    std::optional<HttpEnd> end;
    HttpHop hop;
    hop.url = QUrl("http://127.0.0.1:9/"); // the discard port: nobody answers
    auto exchange =
        HttpTransport::shared().start(hop, {{}, {}, [&](const HttpEnd& e) { end = e; }});
    ASSERT_TRUE(QTest::qWaitFor([&] { return end.has_value(); }, 10000));
    EXPECT_TRUE(end->failed);
    EXPECT_FALSE(end->error.contains("network library is missing")) << end->error.toStdString();
}
