#include "Platform/plist/PlistDepthGuard.h"

#include <QByteArrayView>
#include <algorithm>
#include <optional>
#include <vector>

namespace ovrel::PlistDepthGuard {

namespace {

// ---- XML: count open elements, skipping comments, CDATA, declarations and
// quoted attribute values; a closing tag must match the element it closes.

qsizetype skipPast(const QByteArray& bytes, qsizetype from, QByteArrayView end) {
    const qsizetype at = bytes.indexOf(end, from);
    return at < 0 ? bytes.size() : at + end.size();
}

// The index just past the '>' that ends the tag starting at `from`, honouring
// quotes; bytes.size() when there is none.
qsizetype tagEnd(const QByteArray& bytes, qsizetype from, bool& selfClosing) {
    char quote = 0;
    for (qsizetype i = from; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            selfClosing = i > from && bytes[i - 1] == '/';
            return i + 1;
        }
    }
    return bytes.size();
}

QByteArrayView tagName(const QByteArray& bytes, qsizetype from) {
    qsizetype end = from;
    while (end < bytes.size()) {
        const char c = bytes[end];
        if (c == '>' || c == '/' || c == ' ' || c == '\t' || c == '\r' || c == '\n')
            break;
        ++end;
    }
    return QByteArrayView(bytes).sliced(from, end - from);
}

bool xmlWithinBounds(const QByteArray& bytes, const Bounds& bounds) {
    const int maxDepth = bounds.maxDepth;
    quint64 elements = 0;
    std::vector<QByteArrayView> open;
    qsizetype i = 0;
    while ((i = bytes.indexOf('<', i)) >= 0) {
        const QByteArrayView rest = QByteArrayView(bytes).sliced(i);
        if (rest.startsWith("<!--")) {
            i = skipPast(bytes, i + 4, "-->");
        } else if (rest.startsWith("<![CDATA[")) {
            i = skipPast(bytes, i + 9, "]]>");
        } else if (rest.startsWith("<?")) {
            i = skipPast(bytes, i + 2, "?>");
        } else if (rest.startsWith("<!")) {
            i = skipPast(bytes, i + 2, ">");
        } else if (rest.startsWith("</")) {
            if (open.empty() || open.back() != tagName(bytes, i + 2))
                return false;
            open.pop_back();
            i = skipPast(bytes, i + 2, ">");
        } else {
            bool selfClosing = false;
            const QByteArrayView name = tagName(bytes, i + 1);
            i = tagEnd(bytes, i + 1, selfClosing);
            if (++elements > bounds.maxNodes)
                return false;
            if (!selfClosing) {
                open.push_back(name);
                if (open.size() > static_cast<std::size_t>(maxDepth))
                    return false;
            }
        }
    }
    return true;
}

// ---- Binary: walk the object graph from the top object and measure its
// longest path, refusing cycles and references out of range.

struct BinaryLayout {
    const unsigned char* data = nullptr;
    quint64 size = 0;
    int offsetSize = 0;
    int refSize = 0;
    quint64 objectCount = 0;
    quint64 topObject = 0;
    quint64 offsetTable = 0;
};

constexpr qsizetype kTrailerBytes = 32;
constexpr qsizetype kHeaderBytes = 8;

quint64 readBigEndian(const unsigned char* p, int width) {
    quint64 value = 0;
    for (int i = 0; i < width; ++i)
        value = (value << 8) | p[i];
    return value;
}

// Any width from 1 to 8 bytes: libplist writes offsets of 3 bytes once a
// file passes 64 KiB.
bool validWidth(int width) {
    return width >= 1 && width <= 8;
}

std::optional<BinaryLayout> readLayout(const QByteArray& bytes) {
    if (bytes.size() < kHeaderBytes + kTrailerBytes)
        return std::nullopt;
    BinaryLayout layout;
    layout.data = reinterpret_cast<const unsigned char*>(bytes.constData());
    layout.size = static_cast<quint64>(bytes.size());
    const unsigned char* trailer = layout.data + layout.size - kTrailerBytes;
    layout.offsetSize = trailer[6];
    layout.refSize = trailer[7];
    layout.objectCount = readBigEndian(trailer + 8, 8);
    layout.topObject = readBigEndian(trailer + 16, 8);
    layout.offsetTable = readBigEndian(trailer + 24, 8);
    const quint64 tableEnd = layout.size - kTrailerBytes;
    if (!validWidth(layout.offsetSize) || !validWidth(layout.refSize) || layout.objectCount == 0 ||
        layout.topObject >= layout.objectCount || layout.offsetTable >= tableEnd ||
        layout.objectCount > (tableEnd - layout.offsetTable) / layout.offsetSize)
        return std::nullopt;
    return layout;
}

struct Container {
    quint64 firstRef = 0; // byte offset of the first reference
    quint64 refCount = 0;
};

// The references of object `index`; refCount 0 for objects that hold none.
std::optional<Container> containerOf(const BinaryLayout& layout, quint64 index) {
    const quint64 offset = readBigEndian(
        layout.data + layout.offsetTable + index * layout.offsetSize, layout.offsetSize);
    if (offset < kHeaderBytes || offset >= layout.offsetTable)
        return std::nullopt;
    const unsigned char marker = layout.data[offset];
    const int type = marker >> 4;
    const bool isList = type == 0xA || type == 0xB || type == 0xC;
    if (!isList && type != 0xD)
        return Container{};
    quint64 count = marker & 0x0F;
    quint64 cursor = offset + 1;
    if (count == 0x0F) {
        if (cursor >= layout.offsetTable || (layout.data[cursor] >> 4) != 0x1)
            return std::nullopt;
        const int width = 1 << (layout.data[cursor] & 0x0F);
        if (width > 8 || cursor + 1 + width > layout.offsetTable)
            return std::nullopt;
        count = readBigEndian(layout.data + cursor + 1, width);
        cursor += 1 + width;
    }
    const quint64 refs = isList ? count : count * 2;
    if (count > layout.offsetTable || refs > (layout.offsetTable - cursor) / layout.refSize)
        return std::nullopt;
    return Container{cursor, refs};
}

bool binaryWithinBounds(const QByteArray& bytes, const Bounds& bounds) {
    const int maxDepth = bounds.maxDepth;
    const auto layout = readLayout(bytes);
    if (!layout)
        return false;
    // One byte per object: heights never exceed maxDepth (checked below).
    if (maxDepth > 250)
        return false;
    constexpr quint8 kUnvisited = 255;
    constexpr quint8 kOnPath = 254;
    std::vector<quint8> height(layout->objectCount, kUnvisited);
    // Nodes below each finished object once expanded, itself included; sums
    // stop just above the bound so they cannot overflow.
    std::vector<quint64> expanded(layout->objectCount, 0);
    // Sums stop just above the bound, so they never overflow; without a
    // bound they stop far above anything that can be counted and mean nothing.
    const bool counting = bounds.maxNodes < (quint64(1) << 62);
    const quint64 cap = counting ? bounds.maxNodes : quint64(1) << 62;
    const auto add = [cap](quint64 a, quint64 b) { return std::min(cap + 1, a + b); };

    struct Frame {
        quint64 index;
        Container container;
        quint64 next = 0;
        int tallestChild = 0;
        quint64 nodes = 1;
    };
    std::vector<Frame> path;
    const auto enter = [&](quint64 index) {
        const auto container = containerOf(*layout, index);
        if (!container)
            return false;
        height[index] = kOnPath;
        path.push_back({index, *container});
        return path.size() <= static_cast<std::size_t>(maxDepth) + 1;
    };
    if (!enter(layout->topObject))
        return false;
    while (!path.empty()) {
        Frame& frame = path.back();
        if (frame.next < frame.container.refCount) {
            const quint64 child = readBigEndian(layout->data + frame.container.firstRef +
                                                    frame.next * layout->refSize,
                                                layout->refSize);
            ++frame.next;
            if (child >= layout->objectCount || height[child] == kOnPath)
                return false;
            if (height[child] == kUnvisited) {
                if (!enter(child))
                    return false;
            } else {
                frame.tallestChild = std::max<int>(frame.tallestChild, height[child]);
                frame.nodes = add(frame.nodes, expanded[child]);
                if (counting && frame.nodes > cap)
                    return false;
            }
            continue;
        }
        const int own = frame.container.refCount == 0 ? 0 : frame.tallestChild + 1;
        if (own > maxDepth)
            return false;
        height[frame.index] = static_cast<quint8>(own);
        expanded[frame.index] = frame.nodes;
        const quint64 nodes = frame.nodes;
        path.pop_back();
        if (!path.empty()) {
            path.back().tallestChild = std::max(path.back().tallestChild, own);
            path.back().nodes = add(path.back().nodes, nodes);
            if (counting && path.back().nodes > cap)
                return false;
        }
    }
    return true;
}

} // namespace

bool withinBounds(const QByteArray& bytes, const Bounds& bounds) {
    if (bytes.startsWith("bplist"))
        return binaryWithinBounds(bytes, bounds);
    return xmlWithinBounds(bytes, bounds);
}

} // namespace ovrel::PlistDepthGuard
