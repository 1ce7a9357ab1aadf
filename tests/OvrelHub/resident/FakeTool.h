#pragma once

// A stand-in for a system tool (launchctl, systemctl): a shell script that
// records each argument vector and exits with the status the test chose for
// any of its arguments.

#include "TestSupport.h"

#include <QFile>
#include <QStringList>

namespace ovrel::test {

class FakeTool {
public:
    FakeTool() {
        writeFile(program(),
                  QByteArray("#!/bin/sh\n"
                             "dir='") +
                      m_dir.path().toUtf8() +
                      "'\n"
                      "line=''\n"
                      "for a in \"$@\"; do line=\"$line[$a]\"; done\n"
                      "echo \"$line\" >> \"$dir/calls\"\n"
                      "[ -f \"$dir/output\" ] && cat \"$dir/output\"\n"
                      "for a in \"$@\"; do\n"
                      "  [ -f \"$dir/status-$a\" ] && exit \"$(cat \"$dir/status-$a\")\"\n"
                      "done\n"
                      "exit 0\n");
        QFile::setPermissions(program(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    QString program() const { return m_dir.file("tool"); }

    // Calls with any argument equal to `argument` exit with `status`.
    void exitWith(const QString& argument, int status) {
        writeFile(m_dir.file("status-" + argument), QByteArray::number(status));
    }
    void print(const QByteArray& output) { writeFile(m_dir.file("output"), output); }

    // One entry per call: the arguments, each in brackets.
    QStringList calls() const {
        QFile file(m_dir.file("calls"));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    }
    static QString call(const QStringList& arguments) {
        QString line;
        for (const QString& argument : arguments)
            line += '[' + argument + ']';
        return line;
    }

private:
    TempDir m_dir;
};

} // namespace ovrel::test
