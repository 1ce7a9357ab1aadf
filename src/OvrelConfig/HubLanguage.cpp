#include "OvrelConfig/HubLanguage.h"

#include <mutex>

namespace ovrel {

namespace {

std::mutex& providerMutex() {
    static std::mutex mutex;
    return mutex;
}

HubLanguage::Provider& installedProvider() {
    static HubLanguage::Provider provider;
    return provider;
}

} // namespace

AppLanguage HubLanguage::current() {
    Provider provider;
    {
        const std::lock_guard lock(providerMutex());
        provider = installedProvider();
    }
    // Called outside the lock: a provider may itself read settings that ask
    // for the language, or replace the provider.
    return provider ? provider() : AppLanguages::systemDefault();
}

void HubLanguage::setProvider(Provider provider) {
    const std::lock_guard lock(providerMutex());
    installedProvider() = std::move(provider);
}

} // namespace ovrel
