#include "OvrelLite/StatusMenuText.h"

#include "OvrelLite/LiteAppDelegate.h"
#include "Platform/tray/MenuText.h"

namespace ovrel {

QFuture<QString> statusMenuText(LiteAppDelegate& delegate) {
    HubController& hub = delegate.hub();
    QFuture<QString> text =
        QtFuture::connect(&hub, &HubController::moduleModelRefreshed).then(&hub, [&delegate] {
            StatusMenuModel model = delegate.buildMenu();
            HubController& controller = delegate.hub();
            StatusMenuModel dynamic = controller.dynamicMenuItems();
            const auto anchor = std::find_if(model.begin(), model.end(), [&](const auto& item) {
                return item.id == controller.dynamicInsertAfter();
            });
            if (anchor != model.end())
                model.insert(std::next(anchor), std::make_move_iterator(dynamic.begin()),
                             std::make_move_iterator(dynamic.end()));
            return MenuText::fromModel(model);
        });
    hub.refreshModuleMenu();
    return text;
}

} // namespace ovrel
