#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace ovrel {

// The keys of a bundle's Info.plist that signing, launching and the icon need.
// The one reader of Info.plist.
struct BundleInfo {
    QString identifier; // CFBundleIdentifier; empty when absent
    QString executable; // CFBundleExecutable: a plain file name in Contents/MacOS
    QString iconFile;   // CFBundleIconFile when it is a plain file name; empty otherwise

    static constexpr qint64 kMaxBytes = 1024 * 1024;

    // Nothing when the bytes are not a dictionary property list or name no
    // usable executable.
    static std::optional<BundleInfo> parse(const QByteArray& plist);
    // parse() of <bundle>/Contents/Info.plist; nothing when it cannot be read
    // or is larger than kMaxBytes.
    static std::optional<BundleInfo> read(const QString& bundlePath);

    // The keys as declared: nothing only when the bytes are not a dictionary
    // property list; `executable` is the CFBundleExecutable string, whatever
    // it holds, so a caller can say what was wrong with it.
    static std::optional<BundleInfo> parseDeclared(const QByteArray& plist);

    bool hasUsableExecutable() const { return isPlainFileName(executable); }

    // Contents/MacOS/<executable>
    QString executablePath() const;

    // Not empty, not "." or "..", no "/" and no control character.
    static bool isPlainFileName(const QString& name);
};

} // namespace ovrel
