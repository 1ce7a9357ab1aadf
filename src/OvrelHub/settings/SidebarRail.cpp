#include "OvrelHub/settings/SidebarRail.h"

#include "OvrelHub/settings/PaneStyle.h"
#include "Platform/bundle/BundleIcon.h"
#include "Platform/tray/SymbolIcons.h"

#include <QButtonGroup>
#include <QFrame>
#include <QKeyEvent>
#include <QPixmap>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace ovrel {

namespace {
constexpr int kSymbolIconSize = 28;

QIcon moduleIcon(const ModulePaths& paths, const SidebarItem::Icon& icon) {
    const QImage image = BundleIcon::image(paths.bundle(icon.moduleId, icon.appName),
                                           2 * SidebarRail::kModuleIconSize);
    if (image.isNull())
        return SymbolIcons::icon(QStringLiteral("app"));
    return QIcon(QPixmap::fromImage(image));
}
} // namespace

SidebarRail::SidebarRail(QList<SidebarItem> items, const SettingsRoute& selection,
                         ModulePaths paths, QWidget* parent)
    : QWidget(parent), m_items(std::move(items)), m_group(new QButtonGroup(this)) {
    m_group->setExclusive(true);
    auto* column = new QWidget();
    auto* unpinned = new QVBoxLayout(column);
    unpinned->setContentsMargins(8, 8, 8, 8);
    unpinned->setSpacing(4);
    auto* pinned = new QVBoxLayout();
    pinned->setContentsMargins(8, 4, 8, 8);
    pinned->setSpacing(4);

    bool dividerPlaced = false;
    for (const SidebarItem& item : m_items) {
        QToolButton* cell = makeCell(item, paths);
        m_cells.append(cell);
        if (item.pinnedToBottom) {
            pinned->addWidget(cell);
            continue;
        }
        if (item.route.kind == SettingsRoute::Kind::module && !dividerPlaced) {
            unpinned->addWidget(PaneStyle::divider());
            dividerPlaced = true;
        }
        unpinned->addWidget(cell);
    }
    unpinned->addStretch(1);

    auto* scroll = new QScrollArea();
    scroll->setWidget(column);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setFocusPolicy(Qt::NoFocus);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(scroll, 1);
    layout->addLayout(pinned);
    setFixedWidth(kCellSize + 16 + scroll->verticalScrollBar()->sizeHint().width());
    setSelection(selection);
}

QToolButton* SidebarRail::makeCell(const SidebarItem& item, const ModulePaths& paths) {
    auto* cell = new QToolButton();
    cell->setCheckable(true);
    cell->setAutoRaise(true);
    cell->setFixedSize(kCellSize, kCellSize);
    cell->setToolTip(item.title);
    cell->setAccessibleName(item.title);
    cell->setFocusPolicy(Qt::StrongFocus);
    if (item.icon.kind == SidebarItem::Icon::Kind::symbol) {
        cell->setIcon(SymbolIcons::icon(item.icon.symbol));
        cell->setIconSize(QSize(kSymbolIconSize, kSymbolIconSize));
    } else {
        cell->setIcon(moduleIcon(paths, item.icon));
        cell->setIconSize(QSize(kModuleIconSize, kModuleIconSize));
    }
    m_group->addButton(cell);
    cell->installEventFilter(this);
    const SettingsRoute route = item.route;
    connect(cell, &QToolButton::clicked, this, [this, route] { emit selected(route); });
    return cell;
}

void SidebarRail::setSelection(const SettingsRoute& route) {
    for (qsizetype i = 0; i < m_items.size(); ++i) {
        const SettingsRoute& cellRoute = m_items[i].route;
        // Every store page lights the store's cell.
        const bool match = cellRoute == route || (cellRoute.kind == SettingsRoute::Kind::store &&
                                                  route.kind == SettingsRoute::Kind::store);
        if (match) {
            m_cells[i]->setChecked(true);
            return;
        }
    }
    if (QAbstractButton* checked = m_group->checkedButton()) {
        m_group->setExclusive(false);
        checked->setChecked(false);
        m_group->setExclusive(true);
    }
}

QToolButton* SidebarRail::cell(const SettingsRoute& route) const {
    for (qsizetype i = 0; i < m_items.size(); ++i) {
        if (m_items[i].route == route)
            return m_cells[i];
    }
    return nullptr;
}

bool SidebarRail::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Up && key != Qt::Key_Down)
        return QWidget::eventFilter(watched, event);
    const qsizetype index = m_cells.indexOf(static_cast<QToolButton*>(watched));
    const qsizetype next = index + (key == Qt::Key_Down ? 1 : -1);
    if (index < 0 || next < 0 || next >= m_cells.size())
        return true;
    m_cells[next]->setFocus(Qt::TabFocusReason);
    m_cells[next]->click();
    return true;
}

} // namespace ovrel
