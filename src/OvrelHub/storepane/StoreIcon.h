#pragma once

#include <QImage>
#include <QLabel>

namespace ovrel {

// A module's icon in the store, a square of `side` points: a flat colour
// until the image arrives, the hub's grid symbol when there is none.
class StoreIcon : public QLabel {
    Q_OBJECT
public:
    explicit StoreIcon(int side, QWidget* parent = nullptr);

    void showImage(const QImage& image); // a null image shows the symbol
    void showSymbol();
    bool hasImage() const { return m_hasImage; }

private:
    int m_side;
    bool m_hasImage = false;
};

} // namespace ovrel
