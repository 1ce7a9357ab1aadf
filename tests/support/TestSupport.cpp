#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <stdexcept>

namespace ovrel::test {

TempDir::TempDir() {
    if (!m_dir.isValid())
        throw std::runtime_error("cannot create a temporary directory");
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("cannot write " + path.toStdString());
    f.write(bytes);
}

QString corpusDir(const QString& name) {
    const QString dir = QStringLiteral(OVREL_SOURCE_DIR "/tests/data/") + name;
    return QFileInfo(dir).isDir() ? QDir(dir).canonicalPath() : QString();
}

QString probePath(const QString& name) {
    return QStringLiteral(OVREL_BINARY_DIR "/probes/") + name;
}

} // namespace ovrel::test
