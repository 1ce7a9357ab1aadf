#include "OvrelLite/OvrelLiteHubWiring.h"

#include "OvrelHub/account/AccountServices.h"
#include "OvrelLite/LiteAppDelegate.h"

namespace ovrel {

std::unique_ptr<HubController>
OvrelLiteHubWiring::make(std::function<void()> onMenuNeedsRebuild,
                         HubController::Collaborators collaborators) {
    auto noEditionPage = []() -> std::shared_ptr<EditionSettings> { return nullptr; };
    auto resetStatusImage = [] {
        if (LiteAppDelegate* delegate = LiteAppDelegate::shared())
            delegate->resetStatusImage();
    };
    auto hub = std::make_unique<HubController>(noEditionPage, resetStatusImage,
                                               std::move(onMenuNeedsRebuild), collaborators);
    hub->setSignInCallbackHandler(signInCallbackHandler());
    return hub;
}

std::function<void(const QUrl&)> OvrelLiteHubWiring::signInCallbackHandler() {
    return [](const QUrl& url) {
        AccountServices::shared().handleOpenedURL(url.toString(QUrl::FullyEncoded));
    };
}

std::function<void()> OvrelLiteHubWiring::moduleSettingsChangedHandler() {
    return [] { AccountServices::shared().sync.onModuleSettingsChanged(); };
}

} // namespace ovrel
