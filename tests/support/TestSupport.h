#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace ovrel::test {

// A fresh directory removed at the end of the test.
class TempDir {
public:
    TempDir();
    QString path() const { return m_dir.path(); }
    QString file(const QString& relative) const { return m_dir.filePath(relative); }

private:
    QTemporaryDir m_dir;
};

QByteArray readFile(const QString& path);
void writeFile(const QString& path, const QByteArray& bytes);

// Third-party test data kept in tests/data; empty when the folder is missing.
QString corpusDir(const QString& name);

// Path of a helper program built from tests/probes.
QString probePath(const QString& name);

} // namespace ovrel::test
