#pragma once

#include <QIcon>
#include <QPoint>
#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

namespace ovrel {

// One module in the grid.
struct ModuleGridCell {
    QString id;
    QString title;
    QString subtitle;
    QIcon icon;
    std::function<void()> run;
};

// A grid cell: icon, title and a two-line summary, highlighted under the
// pointer and ringed while it has the keyboard focus. The texts come from
// modules and are shown as single lines of plain text.
class CellButton : public QWidget {
    Q_OBJECT
public:
    CellButton(ModuleGridCell cell, QWidget* parent = nullptr);
    const ModuleGridCell& cell() const { return m_cell; }
    bool hovering() const { return m_hovering; }
    bool hasKeyboardFocus() const { return m_keyboardFocus; }
    void setKeyboardFocus(bool on);
    void run() const;

    QFont titleFont() const;
    QFont subtitleFont() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    ModuleGridCell m_cell;
    bool m_hovering = false;
    bool m_keyboardFocus = false;
};

// The module grid hosted in one menu row: rows of cells, padded, with the
// configured number of columns deciding the width. The menu hands it the
// keyboard focus when the arrow keys reach its row: the arrows then move
// between cells, Return or Space opens the focused module, and an arrow that
// leads out of the grid (and Escape) is left to the menu.
class ModuleGridView : public QWidget {
    Q_OBJECT
public:
    ModuleGridView(std::vector<std::vector<ModuleGridCell>> rows, int columns,
                   QWidget* parent = nullptr);
    QSize sizeHint() const override { return m_size; }
    QSize minimumSizeHint() const override { return m_size; }

    const std::vector<CellButton*>& cells() const { return m_cells; }
    // The cell with the keyboard focus, or -1.
    int focusedCell() const { return m_focused; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void focusCell(int index);
    // Where an arrow key leads from the focused cell; -1 when it leaves the grid.
    int target(int key) const;

    QSize m_size;
    std::vector<CellButton*> m_cells;
    std::vector<QPoint> m_positions; // column and row of each cell
    int m_focused = -1;
    int m_menuKey = 0; // the last key the hosting menu received
};

} // namespace ovrel
