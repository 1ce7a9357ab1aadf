#include "Platform/tray/QtMenuRenderer.h"

#include "Platform/tray/MenuKeyEquivalents.h"
#include "Platform/tray/MenuLabel.h"
#include "Platform/tray/SymbolIcons.h"
#include "Platform/tray/TwoLineMenuStyle.h"

#include <QAction>
#include <QMenu>
#include <QWidgetAction>

namespace ovrel {

namespace {
constexpr const char* kId = "ovrelId";
constexpr const char* kTitle = "ovrelTitle";
constexpr const char* kSubtitle = "ovrelSubtitle";
constexpr const char* kKey = "ovrelKey";
constexpr const char* kView = "ovrelView";

// A custom view built lazily when the menu shows it, so a model can be rendered
// many times without building widgets that are never seen.
class ModelViewAction : public QWidgetAction {
public:
    ModelViewAction(std::function<QWidget*(QWidget*)> make, QObject* parent)
        : QWidgetAction(parent), m_make(std::move(make)) {}

protected:
    QWidget* createWidget(QWidget* parent) override { return m_make ? m_make(parent) : nullptr; }

private:
    std::function<QWidget*(QWidget*)> m_make;
};
} // namespace

QAction* QtMenuRenderer::makeAction(const StatusMenuItem& item, QMenu& menu) {
    QAction* action = nullptr;
    switch (item.kind) {
    case StatusMenuItem::Kind::separator:
        action = new QAction(&menu);
        action->setSeparator(true);
        break;
    case StatusMenuItem::Kind::customView:
        action = new ModelViewAction(item.makeView, &menu);
        action->setProperty(kView, item.viewDescription);
        break;
    case StatusMenuItem::Kind::action: {
        // Titles may come from modules: shown as written, one line each.
        QString text = MenuLabel::forAction(item.title);
        if (!item.subtitle.isEmpty())
            text += QLatin1Char('\n') + MenuLabel::forAction(item.subtitle);
        action = new QAction(text, &menu);
        if (!item.icon.isNull())
            action->setIcon(item.icon);
        else if (!item.symbol.isEmpty())
            action->setIcon(SymbolIcons::icon(item.symbol));
        if (!item.keyEquivalent.isEmpty())
            action->setShortcut(QKeySequence(QStringLiteral("Ctrl+") + item.keyEquivalent));
        action->setToolTip(MenuLabel::forToolTip(item.toolTip));
        if (item.checked) {
            action->setCheckable(true);
            action->setChecked(*item.checked);
        }
        if (!item.children.empty()) {
            auto* sub = new QMenu(&menu);
            sub->setToolTipsVisible(true);
            render(item.children, *sub);
            action->setMenu(sub);
        }
        if (item.action)
            QObject::connect(action, &QAction::triggered, action, [run = item.action] { run(); });
        break;
    }
    }
    action->setEnabled(item.enabled);
    action->setProperty(kId, item.id);
    action->setProperty(kTitle, item.title);
    action->setProperty(kSubtitle, item.subtitle);
    action->setProperty(kKey, item.keyEquivalent);
    return action;
}

void QtMenuRenderer::render(const StatusMenuModel& model, QMenu& menu) {
    // One style object for every menu: two-line items draw the same everywhere.
    static TwoLineMenuStyle* style = new TwoLineMenuStyle;
    if (menu.style() != style)
        menu.setStyle(style);
    MenuKeyEquivalents::install(menu);
    menu.clear();
    insert(model, menu, nullptr);
}

QList<QAction*> QtMenuRenderer::insert(const StatusMenuModel& items, QMenu& menu, QAction* before) {
    QList<QAction*> added;
    added.reserve(static_cast<qsizetype>(items.size()));
    for (const StatusMenuItem& item : items) {
        QAction* action = makeAction(item, menu);
        menu.insertAction(before, action);
        added.append(action);
    }
    return added;
}

QAction* QtMenuRenderer::findById(const QMenu& menu, const QString& id) {
    for (QAction* action : menu.actions()) {
        if (idOf(*action) == id)
            return action;
    }
    return nullptr;
}

QString QtMenuRenderer::idOf(const QAction& a) {
    return a.property(kId).toString();
}
QString QtMenuRenderer::titleOf(const QAction& a) {
    return a.property(kTitle).toString();
}
QString QtMenuRenderer::subtitleOf(const QAction& a) {
    return a.property(kSubtitle).toString();
}
QString QtMenuRenderer::keyEquivalentOf(const QAction& a) {
    return a.property(kKey).toString();
}
QString QtMenuRenderer::viewDescriptionOf(const QAction& a) {
    return a.property(kView).toString();
}

} // namespace ovrel
