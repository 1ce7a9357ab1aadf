#include "Platform/codesign/ResourceSeal.h"

#include "Platform/codesign/CanonicalSealReader.h"
#include "Platform/plist/PlistCodec.h"

#include <QScopeGuard>
#include <QVariantMap>
#include <cstdlib>
#include <plist/plist.h>

namespace ovrel {

namespace {

const QString kFiles = QStringLiteral("files2");
const QString kHash = QStringLiteral("hash2");
const QString kSymlink = QStringLiteral("symlink");
constexpr qsizetype kHashBytes = 32;

QString contentsPath(const QString& relative) {
    return QLatin1String(BundleDirectory::kContents) + QLatin1Char('/') + relative;
}

// { "hash2" = <32 bytes> } or { "symlink" = non-empty string }, nothing else.
std::optional<ResourceSeal::Item> parseItem(plist_t value) {
    if (plist_get_node_type(value) != PLIST_DICT || plist_dict_get_size(value) != 1)
        return std::nullopt;
    ResourceSeal::Item item;
    if (const plist_t hash = plist_dict_get_item(value, "hash2")) {
        uint64_t length = 0;
        const char* bytes =
            plist_get_node_type(hash) == PLIST_DATA ? plist_get_data_ptr(hash, &length) : nullptr;
        if (!bytes || length != static_cast<uint64_t>(kHashBytes))
            return std::nullopt;
        item.hash = QByteArray(bytes, kHashBytes);
        return item;
    }
    const plist_t link = plist_dict_get_item(value, "symlink");
    uint64_t length = 0;
    const char* target = link && plist_get_node_type(link) == PLIST_STRING
                             ? plist_get_string_ptr(link, &length)
                             : nullptr;
    if (!target || length == 0)
        return std::nullopt;
    item.isSymlink = true;
    item.symlinkTarget = QString::fromUtf8(target, static_cast<qsizetype>(length));
    return item;
}

} // namespace

std::optional<ResourceSeal> ResourceSeal::make(const BundleDirectory& bundle,
                                               const BundleLayout& layout) {
    Items items;
    for (const BundleLayout::Item& entry : layout.items) {
        Item item;
        item.isSymlink = entry.isSymlink;
        if (entry.isSymlink) {
            item.symlinkTarget = entry.symlinkTarget;
        } else {
            auto hash = bundle.sha256(contentsPath(entry.path));
            if (!hash)
                return std::nullopt;
            item.hash = *hash;
        }
        items.insert(entry.path, item);
    }
    return ResourceSeal(std::move(items));
}

std::optional<ResourceSeal> ResourceSeal::parse(const QByteArray& plist) {
    if (auto items = CanonicalSealReader::read(plist))
        return ResourceSeal(std::move(*items));
    // Any other layout: walk the general parser's tree instead of making Qt
    // values of every node first.
    const PlistCodec::Tree tree = PlistCodec::parseTree(plist);
    const auto root = static_cast<plist_t>(tree.get());
    if (!root || plist_get_node_type(root) != PLIST_DICT)
        return std::nullopt;
    const plist_t files = plist_dict_get_item(root, "files2");
    if (!files || plist_get_node_type(files) != PLIST_DICT)
        return std::nullopt;
    Items items;
    plist_dict_iter it = nullptr;
    plist_dict_new_iter(files, &it);
    const auto freeIterator = qScopeGuard([&] { std::free(it); });
    for (;;) {
        char* rawKey = nullptr;
        plist_t value = nullptr;
        plist_dict_next_item(files, it, &rawKey, &value);
        const QString key = QString::fromUtf8(rawKey);
        std::free(rawKey);
        if (!value)
            break;
        auto item = parseItem(value);
        if (!item)
            return std::nullopt;
        // Keys come sorted from the signer: the hint makes each insert cheap.
        items.insert(items.constEnd(), key, std::move(*item));
    }
    return ResourceSeal(std::move(items));
}

ResourceSeal ResourceSeal::fromItems(Items items) {
    return ResourceSeal(std::move(items));
}

QByteArray ResourceSeal::toPlist() const {
    QVariantMap files;
    for (auto it = m_items.cbegin(); it != m_items.cend(); ++it) {
        QVariantMap item;
        if (it->isSymlink)
            item.insert(kSymlink, it->symlinkTarget);
        else
            item.insert(kHash, it->hash);
        files.insert(it.key(), item);
    }
    return PlistCodec::toXml(QVariantMap{{kFiles, files}});
}

bool ResourceSeal::matches(const BundleDirectory& bundle, const BundleLayout& layout) const {
    if (layout.problem != BundleLayout::Problem::none ||
        layout.items.size() != static_cast<std::size_t>(m_items.size()))
        return false;
    for (const BundleLayout::Item& entry : layout.items) {
        const auto sealed = m_items.constFind(entry.path);
        if (sealed == m_items.cend() || sealed->isSymlink != entry.isSymlink ||
            (entry.isSymlink && sealed->symlinkTarget != entry.symlinkTarget))
            return false;
    }
    for (const BundleLayout::Item& entry : layout.items) {
        if (entry.isSymlink)
            continue;
        if (bundle.sha256(contentsPath(entry.path)) != m_items.value(entry.path).hash)
            return false;
    }
    return true;
}

} // namespace ovrel
