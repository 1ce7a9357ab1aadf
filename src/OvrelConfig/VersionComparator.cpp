#include "OvrelConfig/VersionComparator.h"

#include <QList>
#include <algorithm>

namespace ovrel {

namespace {

qint64 pieceValue(QStringView piece) {
    // A sign is part of the number; anything else that is not a digit makes the
    // whole piece count as zero, as does a value beyond 64 bits.
    qsizetype start = 0;
    if (piece.startsWith(u'+') || piece.startsWith(u'-'))
        start = 1;
    if (start == piece.size())
        return 0;
    for (qsizetype i = start; i < piece.size(); ++i) {
        if (piece[i] < u'0' || piece[i] > u'9')
            return 0;
    }
    bool ok = false;
    const qint64 value = piece.toLongLong(&ok, 10);
    return ok ? value : 0;
}

QList<qint64> pieces(const QString& version) {
    QList<qint64> out;
    for (const QStringView piece : QStringView(version).split(u'.', Qt::SkipEmptyParts))
        out.append(pieceValue(piece));
    return out;
}

} // namespace

bool VersionComparator::isNewer(const QString& a, const QString& than) {
    const QList<qint64> left = pieces(a);
    const QList<qint64> right = pieces(than);
    const qsizetype n = std::max(left.size(), right.size());
    for (qsizetype i = 0; i < n; ++i) {
        const qint64 l = i < left.size() ? left[i] : 0;
        const qint64 r = i < right.size() ? right[i] : 0;
        if (l != r)
            return l > r;
    }
    return false;
}

} // namespace ovrel
