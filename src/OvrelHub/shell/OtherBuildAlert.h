#pragma once

#include "OvrelConfig/AppLanguage.h"

#include <QString>
#include <functional>

namespace ovrel {

class Workspace;

// Explains why the hub will not run beside the other build, offers to show
// that build in the file manager, and leaves the ending of the process to the
// caller (which quits in either case).
class OtherBuildAlert {
public:
    enum class Choice { reveal, quit };

    struct Texts {
        QString title;
        QString body;
        QString revealButton;
        QString quitButton;
    };
    using Presenter = std::function<Choice(const Texts&)>;

    static Texts texts(AppLanguage language);
    // A modal warning box with the two buttons, reveal first.
    static Presenter messageBoxPresenter();

    static void show(const QString& otherApp, AppLanguage language, Workspace& workspace,
                     const Presenter& presenter);
};

} // namespace ovrel
