#include "OvrelModuleKit/menu/DynamicMenuFile.h"

#include "JsonCorpus.h"
#include "OvrelModuleKit/json/JsonReader.h"
#include "Platform/files/FileError.h"
#include "Platform/system/SystemLog.h"
#include "TestSupport.h"

#include <QFile>
#include <gtest/gtest.h>

using ovrel::DynamicMenuItem;
using ovrel::ModulePaths;
using ovrel::SystemLogCapture;
namespace MenuFile = ovrel::DynamicMenuFile;

namespace {

// The system-log lines the menu reader writes for the module "clock".
QString tooLargeLine() {
    return QString::fromUtf8("Ovrel: menu động của module clock lớn hơn 65536 byte — bỏ qua");
}
QString undecodableLine() {
    return QString::fromUtf8("Ovrel: menu động của module clock không đọc được — bỏ qua");
}
QString versionLine(const QString& version) {
    return QString::fromUtf8("Ovrel: menu động của module clock khai version ") + version +
           QString::fromUtf8(", Ovrel chỉ hiểu 1 — bỏ qua");
}
QString truncatedLine(int count, int depth, int limit) {
    return QString::fromUtf8("Ovrel: menu động của module clock có ") + QString::number(count) +
           QString::fromUtf8(" mục ở cấp ") + QString::number(depth) +
           QString::fromUtf8(", cắt còn ") + QString::number(limit);
}
QString missingIdOrTitleLine() {
    return QString::fromUtf8(
        "Ovrel: menu động của module clock có mục thiếu id hoặc title — bỏ mục đó");
}

QByteArray entries(int count, const QByteArray& extra = {}) {
    QByteArrayList list;
    for (int i = 0; i < count; ++i)
        list.append(R"({"id":"e)" + QByteArray::number(i) + R"(","title":"T)" +
                    QByteArray::number(i) + '"' + extra + '}');
    return '[' + list.join(',') + ']';
}

QByteArray menu(const QByteArray& items) {
    return R"({"version":1,"items":)" + items + '}';
}

QStringList ids(const std::vector<DynamicMenuItem>& items) {
    QStringList result;
    for (const DynamicMenuItem& item : items)
        result.append(item.id);
    return result;
}

class DynamicMenuFileTest : public ::testing::Test {
protected:
    ovrel::test::TempDir dir;
    ModulePaths paths{dir.path() + "/Ovrel"};

    void putMenu(const QByteArray& bytes) const {
        ovrel::test::writeFile(MenuFile::file(paths, "clock"), bytes);
    }
    std::vector<DynamicMenuItem> readMenu(const QByteArray& bytes) const {
        putMenu(bytes);
        return MenuFile::read(paths, "clock");
    }
};

} // namespace

TEST_F(DynamicMenuFileTest, WriterPutsEveryFieldInOrder) {
    const std::vector<DynamicMenuItem> items = {
        {"recent",
         "Gần đây",
         std::nullopt,
         true,
         false,
         {{"a", "A \"1\"", QString("open-item"), false, true, {}}}},
        {"", "x", QString(""), true, true, {}},
    };
    MenuFile::write(items, paths, "clock");
    EXPECT_EQ(MenuFile::file(paths, "clock"), paths.root() + "/Modules/clock/menu.json");
    EXPECT_EQ(
        ovrel::test::readFile(MenuFile::file(paths, "clock")).toStdString(),
        QString::fromUtf8(
            R"({"version":1,"items":[{"id":"recent","title":"Gần đây","enabled":true,)"
            R"("checked":false,"children":[{"id":"a","title":"A \"1\"","command":"open-item",)"
            R"("enabled":false,"checked":true,"children":[]}]},{"id":"","title":"x",)"
            R"("command":"","enabled":true,"checked":true,"children":[]}]})")
            .toUtf8()
            .toStdString());
    SystemLogCapture log;
    EXPECT_EQ(MenuFile::read(paths, "clock"), items);
    EXPECT_TRUE(log.lines().isEmpty());
}

TEST_F(DynamicMenuFileTest, WriteFailureIsThrown) {
    ovrel::test::writeFile(paths.moduleDir("clock"), "a file where the directory belongs");
    EXPECT_THROW(MenuFile::write({}, paths, "clock"), ovrel::FileError);
    EXPECT_THROW(MenuFile::write({}, paths, "../clock"), ovrel::FileError);
    EXPECT_FALSE(QFile::exists(paths.root() + "/clock/menu.json"));
}

TEST_F(DynamicMenuFileTest, InvalidModuleIdsAreNotRead) {
    ovrel::test::writeFile(paths.root() + "/x/menu.json", menu(entries(1)));
    SystemLogCapture log;
    EXPECT_TRUE(MenuFile::read(paths, "../x").empty());
    EXPECT_TRUE(log.lines().isEmpty());
}

TEST_F(DynamicMenuFileTest, MissingFileIsAnEmptyMenuWithoutLog) {
    SystemLogCapture log;
    EXPECT_TRUE(MenuFile::read(paths, "clock").empty());
    EXPECT_TRUE(log.lines().isEmpty());
}

TEST_F(DynamicMenuFileTest, AbsentFlagsTakeTheirDefaults) {
    const auto items = readMenu(menu(
        R"([{"id":"a","title":"A"},{"id":"b","title":"B","command":null,"enabled":null,)"
        R"("checked":null,"children":null},{"id":"c","title":"C","enabled":false,"checked":true}])"));
    EXPECT_EQ(items, (std::vector<DynamicMenuItem>{{"a", "A", std::nullopt, true, false, {}},
                                                   {"b", "B", std::nullopt, true, false, {}},
                                                   {"c", "C", std::nullopt, false, true, {}}}));
}

TEST_F(DynamicMenuFileTest, KeepsTheFirstThirtyEntries) {
    SystemLogCapture log;
    const auto items = readMenu(menu(entries(35)));
    ASSERT_EQ(items.size(), 30u);
    EXPECT_EQ(items.front().id, "e0");
    EXPECT_EQ(items.back().id, "e29");
    EXPECT_EQ(log.lines(), QStringList{truncatedLine(35, 0, 30)});

    SystemLogCapture exact;
    EXPECT_EQ(readMenu(menu(entries(30))).size(), 30u);
    EXPECT_TRUE(exact.lines().isEmpty());
}

TEST_F(DynamicMenuFileTest, KeepsTenChildrenAndNoGrandchildren) {
    SystemLogCapture log;
    // A child's own children are never looked at, whatever they hold.
    const QByteArray children = entries(12, R"(,"children":[{"id":"deep","title":"D"}])");
    const QByteArray oddChild = R"([{"id":"c","title":"C","children":{"not":"an array"}}])";
    const auto items = readMenu(menu(R"([{"id":"p","title":"P","children":)" + children +
                                     R"(},{"id":"q","title":"Q","children":)" + oddChild + "}]"));
    ASSERT_EQ(items.size(), 2u);
    ASSERT_EQ(items[0].children.size(), 10u);
    EXPECT_EQ(items[0].children.back().id, "e9");
    for (const DynamicMenuItem& child : items[0].children)
        EXPECT_TRUE(child.children.empty());
    EXPECT_EQ(items[1].children.size(), 1u);
    EXPECT_EQ(log.lines(), QStringList{truncatedLine(12, 1, 10)});
}

TEST_F(DynamicMenuFileTest, DropsEntriesWithoutIdOrTitle) {
    SystemLogCapture log;
    const auto items = readMenu(menu(
        R"([{"title":"no id"},{"id":"","title":"empty id kept"},{"id":"b","title":""},)"
        R"({"id":"c"},{"id":"d","title":"D","children":[{"id":"x"},{"id":"y","title":"Y"}]}])"));
    EXPECT_EQ(ids(items), (QStringList{"", "d"}));
    EXPECT_EQ(ids(items[1].children), QStringList{"y"});
    EXPECT_EQ(log.lines(), QStringList(4, missingIdOrTitleLine()));
}

TEST_F(DynamicMenuFileTest, LimitCountsEntriesBeforeDroppingInvalidOnes) {
    SystemLogCapture log;
    QByteArray items = entries(32);
    items.replace(R"("title":"T0")", R"("title":"")");
    const auto result = readMenu(menu(items));
    EXPECT_EQ(result.size(), 29u);
    EXPECT_EQ(result.front().id, "e1");
    EXPECT_EQ(log.lines(), (QStringList{truncatedLine(32, 0, 30), missingIdOrTitleLine()}));
}

TEST_F(DynamicMenuFileTest, TitlesAreCutToAHundredCharacters) {
    const QString plain(150, 'a');
    const QString accented = QString::fromUtf8("e\xCC\x82\xCC\x81").repeated(120); // ế decomposed
    const QString family = QString::fromUtf8("👨‍👩‍👧").repeated(101);
    const QString exact = QString::fromUtf8("ồ").repeated(100);
    QByteArrayList list;
    for (const QString& title : {plain, accented, family, exact})
        list.append(R"({"id":"t","title":")" + title.toUtf8() + R"("})");
    SystemLogCapture log;
    const auto items = readMenu(menu('[' + list.join(',') + ']'));
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].title, QString(100, 'a'));
    EXPECT_EQ(items[1].title, QString::fromUtf8("e\xCC\x82\xCC\x81").repeated(100));
    EXPECT_EQ(items[2].title, QString::fromUtf8("👨‍👩‍👧").repeated(100));
    EXPECT_EQ(items[3].title, exact);
    EXPECT_TRUE(log.lines().isEmpty());
}

TEST_F(DynamicMenuFileTest, OnlyVersionOneIsUnderstood) {
    const std::pair<QByteArray, QString> versions[] = {{"2", "2"},
                                                       {"0", "0"},
                                                       {"-1", "-1"},
                                                       {"9007199254740993", "9007199254740993"},
                                                       {"2.0", "2"}};
    for (const auto& [version, shown] : versions) {
        SystemLogCapture log;
        EXPECT_TRUE(
            readMenu(R"({"version":)" + version + R"(,"items":[{"id":"a","title":"A"}]})").empty());
        EXPECT_EQ(log.lines(), QStringList{versionLine(shown)}) << version.constData();
    }
    EXPECT_EQ(readMenu(R"({"items":[{"id":"a","title":"A"}],"version":1.0})").size(), 1u);
}

TEST_F(DynamicMenuFileTest, UndecodableFilesAreSkippedWithOneLine) {
    const QByteArray undecodable[] = {
        "",
        "not json",
        "[]",
        R"({"version":1})",
        R"({"items":[]})",
        R"({"version":"1","items":[]})",
        R"({"version":1.5,"items":[]})",
        R"({"version":1e30,"items":[]})",
        R"({"version":null,"items":[]})",
        R"({"version":1,"items":{}})",
        R"({"version":1,"items":null})",
        R"({"version":1,"items":["a"]})",
        R"({"version":1,"items":[{"id":1,"title":"A"}]})",
        R"({"version":1,"items":[{"id":"a","title":["A"]}]})",
        R"({"version":1,"items":[{"id":"a","title":"A","command":true}]})",
        R"({"version":1,"items":[{"id":"a","title":"A","enabled":"yes"}]})",
        R"({"version":1,"items":[{"id":"a","title":"A","checked":1}]})",
        R"({"version":1,"items":[{"id":"a","title":"A","children":{}}]})",
        R"({"version":1,"items":[{"id":"a","title":"A","children":[{"id":2}]}]})",
        // a wrong type beyond the kept entries still makes the file invalid
        menu(entries(40).replace(R"("id":"e39")", R"("id":39)")),
        // a version that is wrong and items that are invalid: decoding fails first
        R"({"version":2,"items":[7]})",
        "{\"version\":1,\"items\":[{\"id\":\"a\",\"title\":\"\xC3\x28\"}]}",
        menu(QByteArray(30000, '[') + QByteArray(30000, ']')),
    };
    for (const QByteArray& bytes : undecodable) {
        SystemLogCapture log;
        EXPECT_TRUE(readMenu(bytes).empty()) << bytes.left(80).constData();
        EXPECT_EQ(log.lines(), QStringList{undecodableLine()}) << bytes.left(80).constData();
    }
}

TEST_F(DynamicMenuFileTest, FilesOverSixtyFourKibibytesAreNotRead) {
    QByteArray exact = menu(entries(1));
    exact.append(QByteArray(MenuFile::maxFileBytes - exact.size(), ' '));
    ASSERT_EQ(exact.size(), 65536);
    {
        SystemLogCapture log;
        EXPECT_EQ(readMenu(exact).size(), 1u);
        EXPECT_TRUE(log.lines().isEmpty());
    }
    SystemLogCapture log;
    EXPECT_TRUE(readMenu(exact + ' ').empty());
    EXPECT_EQ(log.lines(), QStringList{tooLargeLine()});
}

TEST_F(DynamicMenuFileTest, AnUnpairedSurrogateEscapeMakesTheFileUnreadable) {
    ASSERT_EQ(readMenu(menu(R"([{"id":"a","title":"A\ud83d\ude00"}])")).size(), 1u);
    EXPECT_TRUE(readMenu(menu(R"([{"id":"a","title":"A\udead"}])")).empty());
    // Also where the reader never looks at the value.
    EXPECT_TRUE(readMenu(menu(R"([{"id":"a","title":"A","note":"\ude00"}])")).empty());
}

TEST_F(DynamicMenuFileTest, SurvivesTheJsonCorpus) {
    OVREL_REQUIRE_JSON_CORPUS(files);
    for (const QString& file : files) {
        const QByteArray document = ovrel::test::readFile(file);
        EXPECT_TRUE(readMenu(document).empty()) << file.toStdString();
        // Wherever the reader does not look, anything may stand.
        const QByteArray nested =
            menu(R"([{"id":"a","title":"A","children":[{"id":"b","title":"B","children":)" +
                 document + "}]}]");
        const bool wellFormed = ovrel::JsonReader::parse(nested).has_value();
        EXPECT_EQ(readMenu(nested).size(), wellFormed ? 1u : 0u) << file.toStdString();
    }
}
