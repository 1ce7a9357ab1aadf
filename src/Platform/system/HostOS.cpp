#include "Platform/system/HostOS.h"

#include <sys/utsname.h>

namespace ovrel {

namespace {

constexpr int kParts = 3;
// Any real version number is far smaller; longer digit runs are garbage.
constexpr qsizetype kMaxDigits = 9;

bool isAsciiDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

QString HostOS::currentVersion() {
    return versionFromRelease(kernelRelease());
}

QString HostOS::currentVersion(const ReleaseSource& release) {
    return versionFromRelease(release ? release() : QString());
}

QString HostOS::kernelRelease() {
    utsname name{};
    if (::uname(&name) != 0)
        return {};
    return QString::fromLatin1(name.release);
}

QString HostOS::versionFromRelease(const QString& release) {
    static const QString fallback = QStringLiteral("0.0.0");
    qint64 parts[kParts] = {0, 0, 0};
    qsizetype at = 0;
    for (int part = 0; part < kParts; ++part) {
        if (part > 0) {
            // A further number only follows a "." directly.
            if (at + 1 >= release.size() || release[at] != QLatin1Char('.') ||
                !isAsciiDigit(release[at + 1]))
                break;
            ++at;
        }
        const qsizetype start = at;
        while (at < release.size() && isAsciiDigit(release[at]))
            ++at;
        if (at == start)
            return fallback; // only the first number can be missing here
        QStringView digits = QStringView(release).mid(start, at - start);
        while (digits.size() > 1 && digits.front() == QLatin1Char('0'))
            digits = digits.mid(1);
        if (digits.size() > kMaxDigits)
            return fallback;
        parts[part] = digits.toLongLong();
    }
    return QStringLiteral("%1.%2.%3").arg(parts[0]).arg(parts[1]).arg(parts[2]);
}

} // namespace ovrel
