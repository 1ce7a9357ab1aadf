#pragma once

#include <QIcon>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

class QWidget;

namespace ovrel {

// One entry of the status menu as a plain value. The hub builds its menu as
// these values (tests read them) and one renderer turns them into a Qt menu.
struct StatusMenuItem {
    enum class Kind { action, separator, customView };

    Kind kind = Kind::action;
    QString id; // stable identity: anchors insertions, names the item in tests
    QString title;
    QString subtitle;      // second line of two-line items
    QString keyEquivalent; // "," or "q": pressed with the platform's command modifier
    QString symbol;        // a named symbol image ("book.closed")
    QIcon icon;
    QString toolTip;
    bool enabled = true;
    std::optional<bool> checked;
    std::function<void()> action;
    std::vector<StatusMenuItem> children; // a submenu when not empty
    // Builds the widget of a custom-view item; it must fit in a menu row.
    std::function<QWidget*(QWidget* parent)> makeView;
    QString viewDescription; // textual form of a custom view, for the printed menu

    static StatusMenuItem separator(QString id = {}) {
        StatusMenuItem item;
        item.kind = Kind::separator;
        item.id = std::move(id);
        return item;
    }
};

using StatusMenuModel = std::vector<StatusMenuItem>;

} // namespace ovrel
