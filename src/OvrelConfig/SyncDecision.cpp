#include "OvrelConfig/SyncDecision.h"

#include <QJsonArray>
#include <QJsonObject>
#include <cmath>
#include <limits>

namespace ovrel::SyncDecision {

SyncAction decide(bool dirty, qint64 lastSynced, qint64 serverVersion, ContentRelation relation) {
    if (relation == ContentRelation::same)
        return SyncAction::adoptVersion;
    if (lastSynced != 0) {
        if (serverVersion != lastSynced)
            return dirty ? SyncAction::conflict : SyncAction::pullApply;
        return dirty ? SyncAction::push : SyncAction::noop;
    }
    if (serverVersion == 0)
        return SyncAction::push;
    return relation == ContentRelation::localEmpty ? SyncAction::pullApply : SyncAction::conflict;
}

ContentRelation contentRelation(const QJsonValue& local, const QJsonValue& server,
                                const QJsonValue& empty) {
    if (jsonEqual(local, server))
        return ContentRelation::same;
    if (jsonEqual(local, empty))
        return ContentRelation::localEmpty;
    return ContentRelation::different;
}

BookkeepingWrite bookkeepingEffect(SyncAction action, qint64 serverVersion) {
    switch (action) {
    case SyncAction::push:
        return {};
    case SyncAction::pullApply:
    case SyncAction::adoptVersion:
        return {serverVersion, false, false, SyncStatus::synced};
    case SyncAction::conflict:
        return {std::nullopt, std::nullopt, true, SyncStatus::conflict};
    case SyncAction::noop:
        return {std::nullopt, std::nullopt, std::nullopt, SyncStatus::synced};
    }
    return {};
}

namespace {

// Qt keeps integers that fit 64 bits as integers; compare those exactly and
// everything else as doubles.
bool numbersEqual(const QJsonValue& a, const QJsonValue& b) {
    const double x = a.toDouble();
    const double y = b.toDouble();
    const qint64 noInteger = std::numeric_limits<qint64>::min();
    const qint64 i = a.toInteger(noInteger);
    const qint64 j = b.toInteger(noInteger);
    if (i != noInteger && j != noInteger)
        return i == j;
    return x == y;
}

} // namespace

bool jsonEqual(const QJsonValue& a, const QJsonValue& b) {
    if (a.type() != b.type())
        return false;
    switch (a.type()) {
    case QJsonValue::Null:
    case QJsonValue::Undefined:
        return true;
    case QJsonValue::Bool:
        return a.toBool() == b.toBool();
    case QJsonValue::Double:
        return numbersEqual(a, b);
    case QJsonValue::String:
        return a.toString() == b.toString();
    case QJsonValue::Array: {
        const QJsonArray x = a.toArray();
        const QJsonArray y = b.toArray();
        if (x.size() != y.size())
            return false;
        for (qsizetype i = 0; i < x.size(); ++i) {
            if (!jsonEqual(x.at(i), y.at(i)))
                return false;
        }
        return true;
    }
    case QJsonValue::Object: {
        const QJsonObject x = a.toObject();
        const QJsonObject y = b.toObject();
        if (x.size() != y.size())
            return false;
        for (auto it = x.begin(); it != x.end(); ++it) {
            const auto other = y.constFind(it.key());
            if (other == y.constEnd() || !jsonEqual(it.value(), other.value()))
                return false;
        }
        return true;
    }
    }
    return false;
}

} // namespace ovrel::SyncDecision
