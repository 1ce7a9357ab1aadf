#pragma once

#include "Platform/tray/StatusMenuModel.h"

#include <QList>

class QAction;
class QMenu;

namespace ovrel {

// Turns menu values into Qt menu actions. Each action keeps the value's id,
// title, subtitle and key equivalent so the rendered menu can be read back.
class QtMenuRenderer {
public:
    // Replaces the menu's content with the model.
    static void render(const StatusMenuModel& model, QMenu& menu);

    // Inserts items before `before` (appends when it is null) and returns the
    // new actions, so a caller can remove exactly what it added.
    static QList<QAction*> insert(const StatusMenuModel& items, QMenu& menu, QAction* before);

    static QAction* findById(const QMenu& menu, const QString& id);

    static QString idOf(const QAction& action);
    static QString titleOf(const QAction& action);
    static QString subtitleOf(const QAction& action);
    static QString keyEquivalentOf(const QAction& action);
    static QString viewDescriptionOf(const QAction& action);

private:
    static QAction* makeAction(const StatusMenuItem& item, QMenu& menu);
};

} // namespace ovrel
