#pragma once

#include <QString>
#include <cstdio>

namespace ovrel::devservice::ArchiveLog {

// One line per archive request on standard output, which tests read to see
// where the bearer token went: "<server> GET /path token: present|none".
inline void served(const QString& server, const QString& request, bool token) {
    std::printf("%s %s token: %s\n", qPrintable(server), qPrintable(request),
                token ? "present" : "none");
    std::fflush(stdout);
}

} // namespace ovrel::devservice::ArchiveLog
