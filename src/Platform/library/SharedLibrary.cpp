#include "Platform/library/SharedLibrary.h"

#include <dlfcn.h>

namespace ovrel {

namespace {

QString loaderMessage() {
    const char* message = dlerror();
    return message ? QString::fromLocal8Bit(message) : QStringLiteral("unknown error");
}

} // namespace

SharedLibrary::SharedLibrary(const char* soname)
    : m_soname(soname), m_handle(dlopen(soname, RTLD_NOW | RTLD_LOCAL)) {
    if (!m_handle)
        throw SharedLibraryError(QStringLiteral("cannot load ") + QString::fromLocal8Bit(soname) +
                                 QStringLiteral(": ") + loaderMessage());
}

void* SharedLibrary::address(const char* name) const {
    dlerror();
    void* address = dlsym(m_handle, name);
    if (!address)
        throw SharedLibraryError(QString::fromLocal8Bit(m_soname) + QStringLiteral(" has no ") +
                                 QLatin1String(name) + QStringLiteral(": ") + loaderMessage());
    return address;
}

} // namespace ovrel
