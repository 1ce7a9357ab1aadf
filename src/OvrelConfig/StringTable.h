#pragma once

#include "OvrelConfig/LocKey.h"

#include <QList>
#include <QString>
#include <array>
#include <initializer_list>
#include <optional>

namespace ovrel {

// The texts of one interface language, by key. Built once from a list of
// key/text pairs and read-only afterwards, so it can be shared between threads.
class StringTable {
public:
    struct Entry {
        LocKey key;
        const char* utf8Text;
    };

    StringTable() = default;
    StringTable(std::initializer_list<Entry> entries);

    // The key's text, or nothing when this table lacks the key.
    const QString* find(LocKey key) const;
    bool contains(LocKey key) const { return find(key) != nullptr; }

    // How many distinct keys have a text.
    int size() const { return m_size; }

    // Keys listed more than once in the source list (the first text is kept).
    const QList<LocKey>& duplicateKeys() const { return m_duplicates; }

private:
    std::array<std::optional<QString>, kLocKeyCount> m_texts;
    int m_size = 0;
    QList<LocKey> m_duplicates;
};

} // namespace ovrel
