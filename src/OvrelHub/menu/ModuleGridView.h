#pragma once

#include <QIcon>
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

// A grid cell: icon, title and a two-line summary, highlighted under the pointer.
class CellButton : public QWidget {
    Q_OBJECT
public:
    CellButton(ModuleGridCell cell, QWidget* parent = nullptr);
    const ModuleGridCell& cell() const { return m_cell; }
    bool hovering() const { return m_hovering; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    ModuleGridCell m_cell;
    bool m_hovering = false;
};

// The module grid hosted in one menu row: rows of cells, padded, with the
// configured number of columns deciding the width.
class ModuleGridView : public QWidget {
    Q_OBJECT
public:
    ModuleGridView(std::vector<std::vector<ModuleGridCell>> rows, int columns,
                   QWidget* parent = nullptr);
    QSize sizeHint() const override { return m_size; }
    QSize minimumSizeHint() const override { return m_size; }

private:
    QSize m_size;
};

} // namespace ovrel
