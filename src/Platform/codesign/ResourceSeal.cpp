#include "Platform/codesign/ResourceSeal.h"

#include "Platform/plist/PlistCodec.h"

#include <QVariantMap>

namespace ovrel {

namespace {

const QString kFiles = QStringLiteral("files2");
const QString kHash = QStringLiteral("hash2");
const QString kSymlink = QStringLiteral("symlink");
constexpr qsizetype kHashBytes = 32;

QString contentsPath(const QString& relative) {
    return QLatin1String(BundleDirectory::kContents) + QLatin1Char('/') + relative;
}

std::optional<ResourceSeal::Item> parseItem(const QVariant& value) {
    if (value.metaType().id() != QMetaType::QVariantMap)
        return std::nullopt;
    const QVariantMap map = value.toMap();
    if (map.size() != 1)
        return std::nullopt;
    ResourceSeal::Item item;
    const auto hash = map.constFind(kHash);
    if (hash != map.cend()) {
        if (hash->metaType().id() != QMetaType::QByteArray ||
            hash->toByteArray().size() != kHashBytes)
            return std::nullopt;
        item.hash = hash->toByteArray();
        return item;
    }
    const auto link = map.constFind(kSymlink);
    if (link == map.cend() || link->metaType().id() != QMetaType::QString ||
        link->toString().isEmpty())
        return std::nullopt;
    item.isSymlink = true;
    item.symlinkTarget = link->toString();
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
    const auto root = PlistCodec::parse(plist);
    if (!root || root->metaType().id() != QMetaType::QVariantMap)
        return std::nullopt;
    const QVariant files = root->toMap().value(kFiles);
    if (files.metaType().id() != QMetaType::QVariantMap)
        return std::nullopt;
    Items items;
    const QVariantMap map = files.toMap();
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        auto item = parseItem(it.value());
        if (!item)
            return std::nullopt;
        items.insert(it.key(), *item);
    }
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
