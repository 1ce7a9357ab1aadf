#pragma once

#include <QByteArray>
#include <QString>
#include <stdexcept>

namespace ovrel {

// A C library the program needs only on some paths (unpacking, signatures),
// opened on first use instead of at start: every library the program is
// linked with costs the dynamic linker time at each start.
class SharedLibraryError : public std::runtime_error {
public:
    explicit SharedLibraryError(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString& message() const { return m_message; }

private:
    QString m_message;
};

class SharedLibrary {
public:
    // Opens `soname` (e.g. "libarchive.so.13"); throws SharedLibraryError
    // with the loader's message when it cannot. The library stays loaded
    // for the life of the process.
    explicit SharedLibrary(const char* soname);
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    // The function `name`; throws SharedLibraryError when the library has none.
    template <class Function> Function function(const char* name) const {
        return reinterpret_cast<Function>(address(name));
    }

private:
    void* address(const char* name) const;

    QByteArray m_soname;
    void* m_handle;
};

// A table of a library's functions, loaded the first time it is asked for
// and kept for the life of the process; `fill` resolves every member. Throws
// SharedLibraryError (and tries again next time) when the library or a
// function is missing. Thread-safe.
template <class Table>
const Table& loadedOnce(const char* soname,
                        void (*fill)(Table& loaded, const SharedLibrary& library)) {
    static const Table table = [&] {
        static const SharedLibrary library(soname);
        Table loaded;
        fill(loaded, library);
        return loaded;
    }();
    return table;
}

// For a struct with one member per function of an X-macro list, typed like
// the library's own declaration: the member, and its filling from `library`
// into `loaded` (the names the loading function uses).
#define OVREL_LIBRARY_MEMBER(name) decltype(&::name) name;
#define OVREL_LIBRARY_RESOLVE(name) loaded.name = library.function<decltype(&::name)>(#name);

} // namespace ovrel
