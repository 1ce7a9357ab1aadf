#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <stdexcept>

namespace ovrel::bench {

// Writes a fixture file, creating its folder; a benchmark cannot run without it.
inline void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

} // namespace ovrel::bench
