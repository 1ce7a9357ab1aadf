#include "OvrelModuleKit/menu/DynamicMenuBuilder.h"

#include <gtest/gtest.h>

using ovrel::DynamicMenuItem;
using ovrel::DynamicMenuSection;
namespace Builder = ovrel::DynamicMenuBuilder;

namespace {

DynamicMenuItem entry(const QString& id, std::optional<QString> command,
                      std::vector<DynamicMenuItem> children = {}) {
    return DynamicMenuItem{id, "Title " + id, std::move(command), true, false, std::move(children)};
}

} // namespace

TEST(DynamicMenuBuilder, KeepsOnlyDeclaredCommands) {
    const QSet<QString> allowed{"toggle", "open-recent"};
    EXPECT_EQ(Builder::keep(entry("a", QString("toggle")), allowed), entry("a", QString("toggle")));
    EXPECT_FALSE(Builder::keep(entry("b", QString("delete-all")), allowed));
    EXPECT_FALSE(Builder::keep(entry("c", QString("")), allowed));
    EXPECT_EQ(Builder::keep(entry("label", std::nullopt), allowed), entry("label", std::nullopt));
}

TEST(DynamicMenuBuilder, UndeclaredEntriesTakeTheirChildrenWithThem) {
    const QSet<QString> allowed{"toggle"};
    const DynamicMenuItem parent =
        entry("p", QString("undeclared"), {entry("c", QString("toggle"))});
    EXPECT_FALSE(Builder::keep(parent, allowed));

    const DynamicMenuItem holder = entry("h", std::nullopt,
                                         {entry("x", QString("undeclared")),
                                          entry("y", QString("toggle")), entry("z", std::nullopt)});
    EXPECT_EQ(Builder::keep(holder, allowed),
              entry("h", std::nullopt, {entry("y", QString("toggle")), entry("z", std::nullopt)}));

    // A holder whose children are all dropped stays, as a plain entry.
    const DynamicMenuItem emptied = entry("e", std::nullopt, {entry("x", QString("undeclared"))});
    EXPECT_EQ(Builder::keep(emptied, allowed), entry("e", std::nullopt));
}

TEST(DynamicMenuBuilder, SectionOnlyForRunningModulesWithEntriesLeft) {
    const std::vector<DynamicMenuItem> items = {entry("a", QString("toggle")),
                                                entry("b", QString("undeclared"))};
    EXPECT_FALSE(Builder::section("Clock", items, {"toggle"}, false));
    EXPECT_EQ(Builder::section("Clock", items, {"toggle"}, true),
              (DynamicMenuSection{"Clock", {entry("a", QString("toggle"))}}));
    EXPECT_FALSE(Builder::section("Clock", items, {}, true));
    EXPECT_FALSE(Builder::section("Clock", {}, {"toggle"}, true));
    EXPECT_EQ(Builder::section("Clock", {entry("l", std::nullopt)}, {}, true)->items.size(), 1u);
}
