#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace ovrel {

// The one command waiting in a module's inbox file.
struct InboxCommand {
    QString command;
    double at = 0; // when the hub wrote it, seconds since 1970
    std::optional<QString> argument;

    bool operator==(const InboxCommand& other) const = default;

    // {"command":…,"at":…,"argument":…} in that order, compact; the argument
    // key only when there is one. Throws JsonEncodingError.
    QByteArray encode() const;

    // Nothing unless the bytes are an object with a string "command", a finite
    // number "at" and, when present, a string "argument".
    static std::optional<InboxCommand> decode(const QByteArray& bytes);
};

} // namespace ovrel
