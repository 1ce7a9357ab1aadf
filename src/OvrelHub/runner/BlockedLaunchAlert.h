#pragma once

#include "OvrelConfig/AppLanguage.h"
#include "OvrelHub/runner/ModuleLaunchBlock.h"

#include <QString>
#include <functional>
#include <memory>

class QMessageBox;

namespace ovrel {

// Tells the user why a module was not opened: the module id as the message,
// the reason below it, one Close button.
class BlockedLaunchAlert {
public:
    struct Texts {
        QString message;     // the module id
        QString informative; // the reason, in the interface language
        QString button;      // "Close"
        bool operator==(const Texts&) const = default;
    };
    // Shows the alert; must not wait for the user when called off the main thread.
    using Presenter = std::function<void(const Texts&)>;

    static Texts texts(const QString& moduleId, const ModuleLaunchBlock& block,
                       AppLanguage language);

    // A warning box showing the texts as plain text (a manifest's value never
    // turns into markup), not yet shown.
    static std::unique_ptr<QMessageBox> messageBox(const Texts& texts);

    // Queues the alert to the main thread and runs it there modally, in front
    // of other windows; returns at once. Without an application object nothing
    // is shown.
    static Presenter messageBoxPresenter();
};

} // namespace ovrel
