#include "Platform/codesign/CanonicalSealReader.h"

#include <QByteArrayView>

namespace ovrel::CanonicalSealReader {

namespace {

constexpr qsizetype kHashBytes = 32;

class Cursor {
public:
    explicit Cursor(QByteArrayView text) : m_text(text) {}

    void skipSpace() {
        while (m_at < m_text.size() && isSpace(m_text[m_at]))
            ++m_at;
    }
    // The tag, after optional white space.
    bool take(QByteArrayView tag) {
        skipSpace();
        if (!m_text.sliced(m_at).startsWith(tag))
            return false;
        m_at += tag.size();
        return true;
    }
    // Skips "<?xml ...?>" and a "<!DOCTYPE ...>" without an internal subset.
    bool skipProlog() {
        if (take("<?xml")) {
            const qsizetype end = m_text.indexOf("?>", m_at);
            if (end < 0)
                return false;
            m_at = end + 2;
        }
        if (take("<!DOCTYPE")) {
            const qsizetype end = m_text.indexOf('>', m_at);
            if (end < 0 || m_text.sliced(m_at, end - m_at).contains('['))
                return false;
            m_at = end + 1;
        }
        return true;
    }
    // The text up to `close`, with the predefined entities decoded; nothing
    // for markup or references the general parser must judge.
    std::optional<QByteArray> textUntil(QByteArrayView close) {
        const qsizetype end = m_text.indexOf(close, m_at);
        if (end < 0)
            return std::nullopt;
        const QByteArrayView raw = m_text.sliced(m_at, end - m_at);
        m_at = end + close.size();
        if (raw.contains('<'))
            return std::nullopt;
        if (!raw.contains('&'))
            return raw.toByteArray();
        return decodeEntities(raw);
    }
    bool atEnd() {
        skipSpace();
        return m_at == m_text.size();
    }

private:
    static bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

    static std::optional<QByteArray> decodeEntities(QByteArrayView raw) {
        static constexpr struct {
            const char* name;
            char value;
        } kEntities[] = {
            {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
        QByteArray out;
        out.reserve(raw.size());
        for (qsizetype i = 0; i < raw.size();) {
            if (raw[i] != '&') {
                out.append(raw[i++]);
                continue;
            }
            bool known = false;
            for (const auto& entity : kEntities) {
                if (raw.sliced(i).startsWith(entity.name)) {
                    out.append(entity.value);
                    i += qstrlen(entity.name);
                    known = true;
                    break;
                }
            }
            if (!known)
                return std::nullopt;
        }
        return out;
    }

    QByteArrayView m_text;
    qsizetype m_at = 0;
};

std::optional<ResourceSeal::Item> readItem(Cursor& in) {
    ResourceSeal::Item item;
    if (!in.take("<dict>") || !in.take("<key>"))
        return std::nullopt;
    const auto key = in.textUntil("</key>");
    if (key == "hash2") {
        if (!in.take("<data>"))
            return std::nullopt;
        auto base64 = in.textUntil("</data>");
        if (!base64)
            return std::nullopt;
        base64->replace(' ', "").replace('\t', "").replace('\n', "").replace('\r', "");
        auto decoded =
            QByteArray::fromBase64Encoding(*base64, QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded || decoded.decoded.size() != kHashBytes)
            return std::nullopt;
        item.hash = std::move(decoded.decoded);
    } else if (key == "symlink") {
        if (!in.take("<string>"))
            return std::nullopt;
        const auto target = in.textUntil("</string>");
        if (!target || target->isEmpty())
            return std::nullopt;
        item.isSymlink = true;
        item.symlinkTarget = QString::fromUtf8(*target);
    } else {
        return std::nullopt;
    }
    if (!in.take("</dict>"))
        return std::nullopt;
    return item;
}

} // namespace

std::optional<ResourceSeal::Items> read(const QByteArray& xml) {
    // The general parser refuses XML with a NUL character: so must this.
    if (xml.contains('\0'))
        return std::nullopt;
    Cursor in{QByteArrayView(xml)};
    if (!in.skipProlog() || !in.take("<plist version=\"1.0\">") || !in.take("<dict>") ||
        !in.take("<key>") || in.textUntil("</key>") != "files2" || !in.take("<dict>"))
        return std::nullopt;
    ResourceSeal::Items items;
    while (in.take("<key>")) {
        const auto key = in.textUntil("</key>");
        if (!key)
            return std::nullopt;
        auto item = readItem(in);
        if (!item)
            return std::nullopt;
        // Keys come sorted from the signer: the hint makes each insert cheap.
        items.insert(items.constEnd(), QString::fromUtf8(*key), std::move(*item));
    }
    if (!in.take("</dict>") || !in.take("</dict>") || !in.take("</plist>") || !in.atEnd())
        return std::nullopt;
    return items;
}

} // namespace ovrel::CanonicalSealReader
