#include "OvrelLite/ProgressLine.h"

#include <gtest/gtest.h>

using namespace ovrel;

namespace {

struct Written {
    QString text;
    ProgressLine line(bool terminal) {
        return ProgressLine([this](const QString& part) { text += part; }, terminal);
    }
};

constexpr qint64 kMiB = qint64(1) << 20;

} // namespace

TEST(ProgressLine, OnATerminalTheDownloadLineIsRedrawnInPlaceThenEachStepHasItsLine) {
    Written out;
    ProgressLine line = out.line(true);
    line.download("clock 1.0.0", 5 * kMiB, 10 * kMiB);
    line.download("clock 1.0.0", 10 * kMiB, 10 * kMiB);
    line.step("Unpacking");
    EXPECT_EQ(out.text, "\rDownloading clock 1.0.0: 5.0 MiB of 10.0 MiB (50%)"
                        "\rDownloading clock 1.0.0: 10.0 MiB of 10.0 MiB (100%)\n"
                        "Unpacking\n");
}

TEST(ProgressLine, ElsewhereOnlyOccasionalPlainLines) {
    Written out;
    ProgressLine line = out.line(false);
    for (qint64 received = 0; received <= 100; received += 5)
        line.download("x", received * kMiB, 100 * kMiB);
    EXPECT_FALSE(out.text.contains('\r'));
    EXPECT_EQ(out.text.count('\n'), 11) << "one line per tenth: " << out.text.toStdString();
    EXPECT_TRUE(out.text.endsWith("100.0 MiB of 100.0 MiB (100%)\n"));

    Written unknown;
    ProgressLine sizeless = unknown.line(false);
    for (qint64 received = 1; received <= 20; ++received)
        sizeless.download("x", received * kMiB, -1);
    EXPECT_EQ(unknown.text, "Downloading x: 1.0 MiB\nDownloading x: 8.0 MiB\n"
                            "Downloading x: 16.0 MiB\n")
        << "every 8 MiB when the size is unknown";
}
