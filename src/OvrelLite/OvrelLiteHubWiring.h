#pragma once

#include "OvrelHub/shell/HubController.h"

#include <QUrl>
#include <functional>
#include <memory>

namespace ovrel {

// Builds the one hub controller of this edition with this edition's hooks:
// no edition settings page, and a session change that resets the tray image.
class OvrelLiteHubWiring {
public:
    static std::unique_ptr<HubController> make(std::function<void()> onMenuNeedsRebuild,
                                               HubController::Collaborators collaborators);

    // Where "ovrel-lite://auth?..." sign-in callbacks go: the account
    // service's callback handler plugs in here.
    static std::function<void(const QUrl&)> signInCallbackHandler();
    // What an edit in a module's settings form tells: the settings sync, which
    // uploads the "moduleSettings" stream when it changed.
    static std::function<void()> moduleSettingsChangedHandler();
};

} // namespace ovrel
