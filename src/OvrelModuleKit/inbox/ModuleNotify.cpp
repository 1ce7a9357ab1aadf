#include "OvrelModuleKit/inbox/ModuleNotify.h"

#include "Platform/notify/DarwinNotify.h"

#include <mutex>
#include <vector>

namespace ovrel::ModuleNotify {

namespace {

const QString kModulePrefix = QStringLiteral("vn.ovrel.module.");

// Observations live until the process ends; the list is never destroyed so
// that no observation is torn down after the application object is gone.
struct Observations {
    std::mutex mutex;
    std::vector<DarwinNotify::Token> tokens;
};

Observations& observations() {
    static auto* list = new Observations;
    return *list;
}

} // namespace

QString hostName() {
    return QStringLiteral("vn.ovrel.host");
}

QString settingsName(const QString& id) {
    return kModulePrefix + id + QStringLiteral(".settings");
}

QString commandName(const QString& id) {
    return kModulePrefix + id + QStringLiteral(".command");
}

void post(const QString& name) {
    DarwinNotify::post(name);
}

void observe(const QString& name, std::function<void()> handler) {
    DarwinNotify::Token token = DarwinNotify::observe(name, std::move(handler));
    Observations& list = observations();
    std::lock_guard lock(list.mutex);
    list.tokens.push_back(std::move(token));
}

} // namespace ovrel::ModuleNotify
