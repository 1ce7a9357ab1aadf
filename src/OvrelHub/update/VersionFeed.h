#pragma once

#include "OvrelHub/update/CheckResult.h"

#include <QByteArray>
#include <QString>

namespace ovrel {

// The version feed's answer: {"version", "dmgUrl", "notes"?, "notesByLang"?,
// "publishedAt"?}. Hostile input: anything that is not exactly that shape
// (a missing or mistyped field, a notes map with a non-text value, a disk-image
// address that is no absolute URL) is a failed check.
namespace VersionFeed {

// What a feed body means for the running version.
CheckResult evaluate(const QByteArray& body, const QString& runningVersion);

} // namespace VersionFeed

} // namespace ovrel
