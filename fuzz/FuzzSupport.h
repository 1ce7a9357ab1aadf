#pragma once

// What every fuzz target shares: the input as Qt bytes and a throw-away
// modules root for readers that take their file from disk.

#include "OvrelModuleKit/paths/ModulePaths.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

namespace ovrel::fuzz {

inline QByteArray bytes(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// One modules root for the whole run.
inline const ModulePaths& root() {
    static QTemporaryDir dir;
    static const ModulePaths paths(dir.path() + QStringLiteral("/Ovrel"));
    return paths;
}

// Puts the input where a reader expects its file.
inline void place(const QString& path, const QByteArray& contents) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(contents);
}

} // namespace ovrel::fuzz
