#pragma once

#include "TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace ovrel::test {

// The JSON parsing test suite in tests/data: every kind of valid, invalid and
// implementation-defined document.
inline QStringList jsonCorpusFiles() {
    const QString dir = corpusDir(QStringLiteral("json-test-suite/test_parsing"));
    if (dir.isEmpty())
        return {};
    QStringList files;
    for (const QFileInfo& info : QDir(dir).entryInfoList({QStringLiteral("*.json")}, QDir::Files))
        files.append(info.absoluteFilePath());
    return files;
}

} // namespace ovrel::test

// Binds the corpus to `files`; the data ships with the sources, so a missing
// corpus fails the test instead of skipping it.
#define OVREL_REQUIRE_JSON_CORPUS(files)                                                           \
    const QStringList files = ::ovrel::test::jsonCorpusFiles();                                    \
    ASSERT_FALSE(files.isEmpty()) << "tests/data/json-test-suite is missing"
