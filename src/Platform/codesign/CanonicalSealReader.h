#pragma once

#include "Platform/codesign/ResourceSeal.h"

#include <QByteArray>
#include <optional>

namespace ovrel {

// Reads a sealed resource list written in the one XML layout the signer
// produces (root dict with only "files2", each item { "hash2" = <data> } or
// { "symlink" = <string> }, the five predefined entities in text) in a single
// pass, without building a property-list tree: a large bundle seals thousands
// of files and this runs on every signature check.
//
// Nothing means "not in that layout": the caller then reads the bytes with the
// general property-list parser, which decides. So anything unusual (comments,
// numeric character references, a document type with declarations, empty
// elements, base64 that does not decode strictly, other keys) falls back and
// never changes what a seal means.
namespace CanonicalSealReader {

std::optional<ResourceSeal::Items> read(const QByteArray& xml);

} // namespace CanonicalSealReader

} // namespace ovrel
