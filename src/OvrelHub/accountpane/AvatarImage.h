#pragma once

#include <QImage>
#include <QLabel>

namespace ovrel {

// The signed-in user's picture: a circle of `side` points, a plain colour
// until (and unless) the image arrives.
class AvatarImage : public QLabel {
    Q_OBJECT
public:
    static constexpr int kSide = 44;

    explicit AvatarImage(int side, QWidget* parent = nullptr);
    void showImage(const QImage& image); // a null image keeps the colour
    bool hasImage() const { return m_hasImage; }

private:
    int m_side;
    bool m_hasImage = false;
};

} // namespace ovrel
