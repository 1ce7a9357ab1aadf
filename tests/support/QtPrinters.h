#pragma once

// Readable Qt values in test failure messages; included into every test source.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QByteArray& b, std::ostream* os) {
    *os << '"' << b.toStdString() << "\" (" << b.size() << " bytes)";
}
inline void PrintTo(const QStringList& l, std::ostream* os) {
    *os << '[' << l.join(QStringLiteral(", ")).toStdString() << ']';
}
inline void PrintTo(const QUrl& u, std::ostream* os) {
    *os << u.toString().toStdString();
}
