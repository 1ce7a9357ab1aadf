#include "Platform/tray/MenuText.h"

#include "Platform/tray/QtMenuRenderer.h"

#include <QAction>
#include <QMenu>
#include <QWidgetAction>

namespace ovrel::MenuText {

namespace {

struct Line {
    int depth = 0;
    bool separator = false;
    QString title;
    QString subtitle;
    QString key;
    bool enabled = true;
    std::optional<bool> checked;
    QString view;
};

QString format(const Line& l) {
    const QString indent(l.depth * 2, QLatin1Char(' '));
    if (l.separator)
        return indent + QStringLiteral("---");
    QString text = indent;
    if (l.checked)
        text += *l.checked ? QStringLiteral("[x] ") : QStringLiteral("[ ] ");
    text += l.view.isEmpty() ? l.title : QStringLiteral("[view] ") + l.view;
    if (!l.subtitle.isEmpty())
        text += QStringLiteral(" | ") + l.subtitle;
    if (!l.enabled)
        text += QStringLiteral(" (disabled)");
    if (!l.key.isEmpty())
        text += QStringLiteral("\tCtrl+") + l.key.toUpper();
    return text;
}

void collect(const StatusMenuModel& model, int depth, QStringList& out) {
    for (const StatusMenuItem& item : model) {
        Line l;
        l.depth = depth;
        l.separator = item.kind == StatusMenuItem::Kind::separator;
        l.title = item.title;
        l.subtitle = item.subtitle;
        l.key = item.keyEquivalent;
        l.enabled = item.enabled;
        l.checked = item.checked;
        if (item.kind == StatusMenuItem::Kind::customView)
            l.view = item.viewDescription;
        out.append(format(l));
        collect(item.children, depth + 1, out);
    }
}

void collect(const QMenu& menu, int depth, QStringList& out) {
    for (const QAction* action : menu.actions()) {
        Line l;
        l.depth = depth;
        l.separator = action->isSeparator();
        l.title = QtMenuRenderer::titleOf(*action);
        l.subtitle = QtMenuRenderer::subtitleOf(*action);
        l.key = QtMenuRenderer::keyEquivalentOf(*action);
        l.enabled = action->isEnabled();
        if (action->isCheckable())
            l.checked = action->isChecked();
        if (qobject_cast<const QWidgetAction*>(action))
            l.view = QtMenuRenderer::viewDescriptionOf(*action);
        out.append(format(l));
        if (const QMenu* sub = action->menu())
            collect(*sub, depth + 1, out);
    }
}

} // namespace

QString fromModel(const StatusMenuModel& model) {
    QStringList lines;
    collect(model, 0, lines);
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QString fromMenu(const QMenu& menu) {
    QStringList lines;
    collect(menu, 0, lines);
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

} // namespace ovrel::MenuText
