#pragma once

#include <QByteArray>
#include <QVariant>
#include <memory>
#include <optional>

namespace ovrel {

// Property lists as Qt values: bool, qint64, double, QString, QByteArray,
// QDateTime, QVariantList and QVariantMap. Parsing never throws: anything that is
// not a property list (or nests deeper than any real one) gives no value.
namespace PlistCodec {

std::optional<QVariant> parse(const QByteArray& bytes); // XML or binary

// The parsed libplist tree itself, for readers of large documents that walk
// it without making Qt values of every node; null exactly when parse() gives
// no value for lack of a property list (same size and depth limits).
struct TreeDeleter {
    void operator()(void* node) const;
};
using Tree = std::unique_ptr<void, TreeDeleter>;
Tree parseTree(const QByteArray& bytes);
QByteArray toXml(const QVariant& value);

} // namespace PlistCodec

} // namespace ovrel
