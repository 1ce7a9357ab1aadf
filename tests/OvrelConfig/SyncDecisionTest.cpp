#include "OvrelConfig/SyncDecision.h"

#include <QJsonArray>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace ovrel;
using namespace ovrel::SyncDecision;

TEST(SyncDecision, FollowsTheDecisionTable) {
    struct Row {
        ContentRelation relation;
        qint64 lastSynced;
        qint64 server;
        bool dirty;
        SyncAction expected;
    };
    const Row rows[] = {
        {ContentRelation::same, 0, 5, true, SyncAction::adoptVersion},
        {ContentRelation::same, 3, 3, false, SyncAction::adoptVersion},
        {ContentRelation::different, 3, 4, true, SyncAction::conflict},
        {ContentRelation::localEmpty, 3, 4, true, SyncAction::conflict},
        {ContentRelation::different, 3, 4, false, SyncAction::pullApply},
        {ContentRelation::different, 3, 3, true, SyncAction::push},
        {ContentRelation::different, 3, 3, false, SyncAction::noop},
        {ContentRelation::localEmpty, 0, 5, false, SyncAction::pullApply},
        {ContentRelation::localEmpty, 0, 5, true, SyncAction::pullApply},
        {ContentRelation::different, 0, 5, false, SyncAction::conflict},
        {ContentRelation::different, 0, 0, false, SyncAction::push},
        {ContentRelation::localEmpty, 0, 0, true, SyncAction::push},
    };
    for (const Row& row : rows)
        EXPECT_EQ(decide(row.dirty, row.lastSynced, row.server, row.relation), row.expected)
            << int(row.relation) << " " << row.lastSynced << " " << row.server << " " << row.dirty;
}

TEST(SyncDecision, ComparesPayloadsByValue) {
    const QJsonObject empty;
    const QJsonObject local{{"clock", QJsonObject{{"zones", 1}, {"on", true}}}};
    EXPECT_EQ(contentRelation(
                  local, QJsonObject{{"clock", QJsonObject{{"on", true}, {"zones", 1.0}}}}, empty),
              ContentRelation::same)
        << "an integer equals the same floating number; key order does not matter";
    EXPECT_EQ(contentRelation(empty, local, empty), ContentRelation::localEmpty);
    EXPECT_EQ(contentRelation(local, empty, empty), ContentRelation::different);
    EXPECT_FALSE(jsonEqual(QJsonValue(true), QJsonValue(1))) << "values keep their type";
    EXPECT_FALSE(jsonEqual(QJsonArray{1, 2}, QJsonArray{2, 1}));
    EXPECT_FALSE(jsonEqual(QJsonObject{{"a", 1}}, QJsonObject{{"a", 1}, {"b", 2}}));
    EXPECT_FALSE(
        jsonEqual(QJsonValue(qint64(9007199254740993)), QJsonValue(qint64(9007199254740992))))
        << "64-bit integers compare exactly";
    EXPECT_TRUE(jsonEqual(QJsonValue(QJsonValue::Null), QJsonValue(QJsonValue::Null)));
}

TEST(SyncDecision, BookkeepingOfEachAction) {
    EXPECT_EQ(bookkeepingEffect(SyncAction::push, 7), BookkeepingWrite{});
    EXPECT_EQ(bookkeepingEffect(SyncAction::pullApply, 7),
              (BookkeepingWrite{7, false, false, SyncStatus::synced}));
    EXPECT_EQ(bookkeepingEffect(SyncAction::adoptVersion, 7),
              (BookkeepingWrite{7, false, false, SyncStatus::synced}));
    EXPECT_EQ(bookkeepingEffect(SyncAction::conflict, 7),
              (BookkeepingWrite{std::nullopt, std::nullopt, true, SyncStatus::conflict}));
    EXPECT_EQ(bookkeepingEffect(SyncAction::noop, 7),
              (BookkeepingWrite{std::nullopt, std::nullopt, std::nullopt, SyncStatus::synced}));
}
