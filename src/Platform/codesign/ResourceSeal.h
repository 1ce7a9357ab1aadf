#pragma once

#include "Platform/bundle/BundleDirectory.h"
#include "Platform/codesign/BundleLayout.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <optional>

namespace ovrel {

// The content of Contents/_CodeSignature/CodeResources: for every file of the
// bundle outside _CodeSignature its SHA-256, for every link its target, keyed
// by the path relative to Contents:
//   "files2" = { path = { "hash2" = <32 bytes> } | { "symlink" = target } }
class ResourceSeal {
public:
    struct Item {
        QByteArray hash;       // files
        QString symlinkTarget; // links
        bool isSymlink = false;
        bool operator==(const Item&) const = default;
    };
    using Items = QMap<QString, Item>;

    static constexpr qint64 kMaxBytes = 32 * 1024 * 1024;

    // Hashes every file of the layout; nothing when one cannot be read.
    static std::optional<ResourceSeal> make(const BundleDirectory& bundle,
                                            const BundleLayout& layout);
    // Nothing when the bytes are not a well-formed seal.
    static std::optional<ResourceSeal> parse(const QByteArray& plist);

    // A seal of the given items, as the signer writes it.
    static ResourceSeal fromItems(Items items);

    QByteArray toPlist() const;

    // Whether the bundle holds exactly the sealed files with the sealed
    // contents. Cheap differences (names, kinds, link targets) are found
    // before any file is hashed.
    bool matches(const BundleDirectory& bundle, const BundleLayout& layout) const;

    const Items& items() const { return m_items; }

private:
    explicit ResourceSeal(Items items) : m_items(std::move(items)) {}
    Items m_items;
};

} // namespace ovrel
