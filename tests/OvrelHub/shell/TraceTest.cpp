#include "OvrelHub/shell/Trace.h"
#include "TestSupport.h"

#include <QDateTime>
#include <QFile>
#include <QThread>
#include <gtest/gtest.h>
#include <vector>

using namespace ovrel;

namespace {
struct TraceFixture : ::testing::Test {
    test::TempDir dir;
    QByteArray savedState = qgetenv("XDG_STATE_HOME");
    void SetUp() override { qputenv("XDG_STATE_HOME", dir.path().toUtf8()); }
    void TearDown() override {
        qputenv("XDG_STATE_HOME", savedState);
        Trace::setEnabledProvider([] { return false; });
    }
    QStringList lines() const {
        return QString::fromUtf8(test::readFile(Trace::filePath())).split('\n', Qt::SkipEmptyParts);
    }
};
} // namespace

TEST_F(TraceFixture, ForceCreatesThenAppendsTimestampedLines) {
    EXPECT_EQ(Trace::filePath(), dir.path() + "/Ovrel/Ovrel-trace.log");
    Trace::force("first");
    Trace::force(QString::fromUtf8("thứ hai"));
    const QStringList l = lines();
    ASSERT_EQ(l.size(), 2);
    const QString stamp = l[0].section(' ', 0, 0);
    EXPECT_TRUE(QDateTime::fromString(stamp, Qt::ISODateWithMs).isValid()) << stamp.toStdString();
    EXPECT_TRUE(stamp.contains('+') || stamp.contains('-') || stamp.endsWith('Z'));
    EXPECT_EQ(l[0].section(' ', 1), "first");
    EXPECT_EQ(l[1].section(' ', 1), QString::fromUtf8("thứ hai"));
}

TEST_F(TraceFixture, LogEvaluatesMessageOnlyWhenEnabled) {
    int evaluated = 0;
    Trace::setEnabledProvider([] { return false; });
    Trace::log([&] {
        ++evaluated;
        return QStringLiteral("hidden");
    });
    EXPECT_EQ(evaluated, 0);
    EXPECT_FALSE(QFile::exists(Trace::filePath()));
    Trace::setEnabledProvider([] { return true; });
    Trace::log([&] {
        ++evaluated;
        return QStringLiteral("shown");
    });
    EXPECT_EQ(evaluated, 1);
    EXPECT_EQ(lines().size(), 1);
}

TEST_F(TraceFixture, UnwritableLocationIsIgnored) {
    test::writeFile(dir.file("Ovrel"), "a file where the directory should be");
    EXPECT_NO_THROW(Trace::force("lost"));
}

TEST_F(TraceFixture, ConcurrentWritersNeverInterleave) {
    std::vector<QThread*> threads;
    for (int t = 0; t < 4; ++t) {
        threads.push_back(QThread::create([t] {
            for (int i = 0; i < 50; ++i)
                Trace::force(QStringLiteral("thread-%1-line-%2-").arg(t).arg(i) +
                             QString(200, 'x'));
        }));
        threads.back()->start();
    }
    for (QThread* thread : threads) {
        thread->wait();
        delete thread;
    }
    const QStringList l = lines();
    ASSERT_EQ(l.size(), 200);
    for (const QString& line : l)
        EXPECT_TRUE(line.endsWith(QString(200, 'x'))) << line.toStdString();
}
