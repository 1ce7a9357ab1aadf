#include "OvrelHub/storepane/TileGrid.h"

#include <QGridLayout>
#include <QResizeEvent>

namespace ovrel {

TileGrid::TileGrid(QWidget* parent) : QWidget(parent), m_layout(new QGridLayout(this)) {
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(kSpacing);
}

int TileGrid::columnsFor(int width) {
    return std::max(1, (width + kSpacing) / (kMinColumn + kSpacing));
}

void TileGrid::setTiles(const QList<QWidget*>& tiles) {
    for (QWidget* old : std::as_const(m_tiles)) {
        m_layout->removeWidget(old);
        old->deleteLater();
    }
    m_tiles = tiles;
    for (QWidget* tile : tiles)
        tile->setParent(this);
    m_columns = 0;
    flow(columnsFor(width()));
    QWidget* previous = nullptr;
    for (QWidget* tile : tiles) {
        tile->show();
        if (previous)
            setTabOrder(previous, tile);
        previous = tile;
    }
}

void TileGrid::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    flow(columnsFor(event->size().width()));
}

void TileGrid::flow(int columns) {
    if (columns == m_columns)
        return;
    for (QWidget* tile : std::as_const(m_tiles))
        m_layout->removeWidget(tile);
    for (int c = 0; c < std::max(columns, m_columns); ++c)
        m_layout->setColumnStretch(c, c < columns ? 1 : 0);
    for (int i = 0; i < m_tiles.size(); ++i)
        m_layout->addWidget(m_tiles.at(i), i / columns, i % columns);
    m_columns = columns;
}

} // namespace ovrel
