#include "Platform/plist/PlistCodec.h"

#include "Platform/plist/PlistDepthGuard.h"

#include <QDateTime>
#include <cstdlib>
#include <limits>
#include <plist/plist.h>

namespace ovrel::PlistCodec {

namespace {

constexpr int kMaxDepth = 128;
constexpr qsizetype kMaxBytes = 64 * 1024 * 1024;
// Far above any real property list (a bundle's resource seal of 100,000 files
// is about 400,000 nodes) and far below what exhausts memory.
constexpr quint64 kMaxNodes = 1000000;
// Apple's reference date (2001-01-01) as seconds since 1970.
constexpr qint64 kAppleEpochOffset = 978307200;

struct PlistHolder {
    plist_t node = nullptr;
    ~PlistHolder() {
        if (node)
            plist_free(node);
    }
};

QString takeString(char* s) {
    QString result = s ? QString::fromUtf8(s) : QString();
    std::free(s);
    return result;
}

std::optional<QVariant> fromNode(plist_t node, int depth) {
    if (!node || depth > kMaxDepth)
        return std::nullopt;
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        uint8_t v = 0;
        plist_get_bool_val(node, &v);
        return QVariant(v != 0);
    }
    case PLIST_UINT: {
        uint64_t v = 0;
        plist_get_uint_val(node, &v);
        // Signed values are stored in two's complement in the same field.
        return QVariant(static_cast<qint64>(v));
    }
    case PLIST_REAL: {
        double v = 0;
        plist_get_real_val(node, &v);
        return QVariant(v);
    }
    case PLIST_STRING: {
        char* s = nullptr;
        plist_get_string_val(node, &s);
        return QVariant(takeString(s));
    }
    case PLIST_DATA: {
        char* d = nullptr;
        uint64_t len = 0;
        plist_get_data_val(node, &d, &len);
        QByteArray bytes(d, static_cast<qsizetype>(len));
        std::free(d);
        return QVariant(bytes);
    }
    case PLIST_DATE: {
        int32_t sec = 0, usec = 0;
        plist_get_date_val(node, &sec, &usec);
        const qint64 ms = (static_cast<qint64>(sec) + kAppleEpochOffset) * 1000 + usec / 1000;
        return QVariant(QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC));
    }
    case PLIST_ARRAY: {
        // Iterated: lookups by index walk the list from its start each time
        // in arrays built by the binary parser.
        QVariantList list;
        list.reserve(static_cast<qsizetype>(plist_array_get_size(node)));
        plist_array_iter it = nullptr;
        plist_array_new_iter(node, &it);
        for (;;) {
            plist_t child = nullptr;
            plist_array_next_item(node, it, &child);
            if (!child)
                break;
            auto item = fromNode(child, depth + 1);
            if (!item) {
                std::free(it);
                return std::nullopt;
            }
            list.append(*item);
        }
        std::free(it);
        return QVariant(list);
    }
    case PLIST_DICT: {
        QVariantMap map;
        plist_dict_iter it = nullptr;
        plist_dict_new_iter(node, &it);
        for (;;) {
            char* key = nullptr;
            plist_t value = nullptr;
            plist_dict_next_item(node, it, &key, &value);
            if (!value) {
                std::free(key);
                break;
            }
            const QString k = takeString(key);
            auto item = fromNode(value, depth + 1);
            if (!item) {
                std::free(it);
                return std::nullopt;
            }
            map.insert(k, *item);
        }
        std::free(it);
        return QVariant(map);
    }
    default:
        return std::nullopt;
    }
}

plist_t toNode(const QVariant& value, int depth) {
    if (depth > kMaxDepth)
        return plist_new_string("");
    switch (value.metaType().id()) {
    case QMetaType::Bool:
        return plist_new_bool(value.toBool() ? 1 : 0);
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::Long:
        return plist_new_uint(static_cast<uint64_t>(value.toLongLong()));
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::UShort:
    case QMetaType::ULong:
        return plist_new_uint(value.toULongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return plist_new_real(value.toDouble());
    case QMetaType::QByteArray: {
        const QByteArray b = value.toByteArray();
        return plist_new_data(b.constData(), static_cast<uint64_t>(b.size()));
    }
    case QMetaType::QDateTime: {
        const qint64 ms = value.toDateTime().toMSecsSinceEpoch() - kAppleEpochOffset * 1000;
        const qint64 sec = ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000);
        return plist_new_date(static_cast<int32_t>(sec),
                              static_cast<int32_t>((ms - sec * 1000) * 1000));
    }
    case QMetaType::QVariantList:
    case QMetaType::QStringList: {
        plist_t array = plist_new_array();
        for (const QVariant& item : value.toList())
            plist_array_append_item(array, toNode(item, depth + 1));
        return array;
    }
    case QMetaType::QVariantMap: {
        plist_t dict = plist_new_dict();
        const QVariantMap map = value.toMap();
        for (auto it = map.cbegin(); it != map.cend(); ++it)
            plist_dict_set_item(dict, it.key().toUtf8().constData(), toNode(it.value(), depth + 1));
        return dict;
    }
    default:
        return plist_new_string(value.toString().toUtf8().constData());
    }
}

} // namespace

void TreeDeleter::operator()(void* node) const {
    if (node)
        plist_free(static_cast<plist_t>(node));
}

Tree parseTree(const QByteArray& bytes) {
    if (bytes.isEmpty() || bytes.size() > kMaxBytes)
        return nullptr;
    // libplist recurses once per level and copies shared objects: measure
    // before it does. The margin covers the <plist> element; anything deeper
    // than kMaxDepth fails below.
    if (!PlistDepthGuard::withinBounds(bytes, {kMaxDepth + 2, kMaxNodes}))
        return nullptr;
    plist_t node = nullptr;
    const auto length = static_cast<uint32_t>(bytes.size());
    if (plist_is_binary(bytes.constData(), length)) {
        plist_from_bin(bytes.constData(), length, &node);
    } else {
        // XML has no NUL character, and libplist aborts on one inside a
        // <string> or <key> (its string accessor asserts on the length).
        if (bytes.contains('\0'))
            return nullptr;
        plist_from_xml(bytes.constData(), length, &node);
    }
    return Tree(node);
}

std::optional<QVariant> parse(const QByteArray& bytes) {
    const Tree tree = parseTree(bytes);
    return fromNode(static_cast<plist_t>(tree.get()), 0);
}

QByteArray toXml(const QVariant& value) {
    PlistHolder holder;
    holder.node = toNode(value, 0);
    char* xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(holder.node, &xml, &length);
    QByteArray result(xml, static_cast<qsizetype>(length));
    plist_to_xml_free(xml);
    return result;
}

} // namespace ovrel::PlistCodec
