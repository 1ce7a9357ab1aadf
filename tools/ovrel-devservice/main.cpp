#include "DevService.h"

#include <QCoreApplication>
#include <cstdio>

namespace {

constexpr char kUsage[] =
    "usage: ovrel-devservice [--port N] [--storage-port M] [--catalog DIR] [--data FILE]\n"
    "                        [--token-lifetime SECONDS]\n"

    "         [--require-token T] [--fail-status N] [--slow-body MS] [--kill-mid-body]\n"
    "         [--same-origin-downloads] [--catalog-needs-sign-in] [--download-redirects N]\n"
    "         [--declare-length BYTES] [--chunked] [--catalog-bytes BYTES]\n"

    "         [--newest-version V] [--release-notes TEXT] [--release-notes-lang LANG=TEXT]\n"
    "         [--published-at DATE]\n"
    "  Serves the hub's online endpoints on 127.0.0.1 (port 0 or none: a free port)\n"
    "  and prints \"api http://127.0.0.1:N storage http://127.0.0.1:M\" when ready.\n";

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    QString error;
    auto options = ovrel::devservice::DevServiceOptions::parse(arguments, &error);
    if (!options) {
        std::fprintf(stderr, "ovrel-devservice: %s\n%s", qPrintable(error), kUsage);
        return 2;
    }
    ovrel::devservice::DevService service(std::move(*options));
    if (!service.start(&error)) {
        std::fprintf(stderr, "ovrel-devservice: %s\n", qPrintable(error));
        return 1;
    }
    // The one line callers wait for: both servers accept connections now.
    auto origin = [](const QUrl& base) { return base.adjusted(QUrl::RemovePath).toString(); };
    std::printf("api %s storage %s\n", qPrintable(origin(service.apiBase())),
                qPrintable(origin(service.storageBase())));
    std::fflush(stdout);
    return app.exec();
}
