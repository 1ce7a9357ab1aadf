#pragma once

#include "OvrelHub/settings/SidebarModel.h"
#include "OvrelModuleKit/paths/ModulePaths.h"

#include <QList>
#include <QWidget>

class QButtonGroup;
class QToolButton;

namespace ovrel {

// The settings window's narrow icon rail: one 64 x 64 cell per item, the
// unpinned ones in a scrolling column (a divider before the first module),
// the pinned ones at the bottom. Up and Down move between cells and select.
class SidebarRail : public QWidget {
    Q_OBJECT
public:
    static constexpr int kCellSize = 64;
    static constexpr int kModuleIconSize = 40;

    SidebarRail(QList<SidebarItem> items, const SettingsRoute& selection, ModulePaths paths,
                QWidget* parent = nullptr);

    const QList<SidebarItem>& items() const { return m_items; }
    void setSelection(const SettingsRoute& route);
    // The cell of a route (tests click it), if it is on the rail.
    QToolButton* cell(const SettingsRoute& route) const;

signals:
    void selected(const SettingsRoute& route);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QToolButton* makeCell(const SidebarItem& item, const ModulePaths& paths);

    QList<SidebarItem> m_items;
    QList<QToolButton*> m_cells; // in item order
    QButtonGroup* m_group = nullptr;
};

} // namespace ovrel
