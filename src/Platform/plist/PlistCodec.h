#pragma once

#include <QByteArray>
#include <QVariant>
#include <optional>

namespace ovrel {

// Property lists as Qt values: bool, qint64, double, QString, QByteArray,
// QDateTime, QVariantList and QVariantMap. Parsing never throws: anything that is
// not a property list (or nests deeper than any real one) gives no value.
namespace PlistCodec {

std::optional<QVariant> parse(const QByteArray& bytes); // XML or binary
QByteArray toXml(const QVariant& value);

} // namespace PlistCodec

} // namespace ovrel
