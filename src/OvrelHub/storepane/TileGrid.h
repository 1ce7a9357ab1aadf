#pragma once

#include <QList>
#include <QWidget>

class QGridLayout;

namespace ovrel {

// Lays its tiles out in as many equal columns of at least kMinColumn points
// as the width allows, kSpacing apart, and flows them again on a resize.
// The focus moves through the tiles in reading order.
class TileGrid : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMinColumn = 150;
    static constexpr int kSpacing = 12;

    explicit TileGrid(QWidget* parent = nullptr);

    void setTiles(const QList<QWidget*>& tiles);
    const QList<QWidget*>& tiles() const { return m_tiles; }
    int columns() const { return m_columns; }

    static int columnsFor(int width);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void flow(int columns);

    QGridLayout* m_layout;
    QList<QWidget*> m_tiles;
    int m_columns = 0;
};

} // namespace ovrel
