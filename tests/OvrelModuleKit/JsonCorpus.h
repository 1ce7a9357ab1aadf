#pragma once

#include "TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace ovrel::test {

// The JSON parsing test suite: every kind of valid, invalid and implementation-
// defined document. Empty when the corpus is not installed.
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

// Skips the test when the corpus is missing, else binds the list to `files`.
#define OVREL_REQUIRE_JSON_CORPUS(files)                                                           \
    const QStringList files = ::ovrel::test::jsonCorpusFiles();                                    \
    if (files.isEmpty())                                                                           \
    GTEST_SKIP() << "JSON test suite corpus not found beside the project"
