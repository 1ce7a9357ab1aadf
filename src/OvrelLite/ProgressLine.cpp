#include "OvrelLite/ProgressLine.h"

#include <unistd.h>

namespace ovrel {

namespace {

constexpr qint64 kPlainStepBytes = qint64(8) << 20;

QString mebibytes(qint64 bytes) {
    return QString::number(double(bytes) / (1 << 20), 'f', 1) + QStringLiteral(" MiB");
}

} // namespace

ProgressLine::ProgressLine(Writer writer, bool terminal)
    : m_write(std::move(writer)), m_terminal(terminal) {}

ProgressLine ProgressLine::standardError() {
    return ProgressLine(
        [](const QString& text) {
            const QByteArray bytes = text.toUtf8();
            std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
            std::fflush(stderr);
        },
        ::isatty(STDERR_FILENO) == 1);
}

QString ProgressLine::downloadText(const QString& what, qint64 received, qint64 total) {
    QString text = QStringLiteral("Downloading ") + what + QStringLiteral(": ") + mebibytes(received);
    if (total > 0)
        text += QStringLiteral(" of ") + mebibytes(total) +
                QStringLiteral(" (%1%)").arg(std::min<qint64>(100, received * 100 / total));
    return text;
}

void ProgressLine::download(const QString& what, qint64 received, qint64 total) {
    const QString text = downloadText(what, received, total);
    if (m_terminal) {
        const int width = int(text.size());
        m_write(QLatin1Char('\r') + text + QString(std::max(0, m_lastWidth - width), u' '));
        m_lastWidth = width;
        m_open = true;
        return;
    }
    const qint64 mark = total > 0 ? std::min<qint64>(10, received * 10 / total)
                                  : received / kPlainStepBytes;
    if (mark == m_lastMark)
        return;
    m_lastMark = mark;
    m_write(text + QLatin1Char('\n'));
}

void ProgressLine::step(const QString& text) {
    finish();
    m_write(text + QLatin1Char('\n'));
}

void ProgressLine::show(const CommandLineProgress& progress) {
    if (progress.isMeasured())
        download(progress.text, progress.done, progress.total);
    else
        step(progress.text);
}

void ProgressLine::finish() {
    if (m_open)
        m_write(QStringLiteral("\n"));
    m_open = false;
    m_lastWidth = 0;
    m_lastMark = -1;
}

} // namespace ovrel
