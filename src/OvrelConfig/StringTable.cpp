#include "OvrelConfig/StringTable.h"

namespace ovrel {

namespace {

bool isKnownKey(LocKey key) {
    const int index = locKeyIndex(key);
    return index >= 0 && index < kLocKeyCount;
}

} // namespace

StringTable::StringTable(std::initializer_list<Entry> entries) {
    for (const Entry& entry : entries) {
        if (!isKnownKey(entry.key))
            continue;
        std::optional<QString>& slot = m_texts[static_cast<std::size_t>(locKeyIndex(entry.key))];
        if (slot) {
            m_duplicates.append(entry.key);
            continue;
        }
        slot = QString::fromUtf8(entry.utf8Text);
        ++m_size;
    }
}

const QString* StringTable::find(LocKey key) const {
    if (!isKnownKey(key))
        return nullptr;
    const std::optional<QString>& slot = m_texts[static_cast<std::size_t>(locKeyIndex(key))];
    return slot ? &*slot : nullptr;
}

} // namespace ovrel
