#pragma once

#include <QIcon>
#include <QImage>
#include <QRectF>
#include <QSize>

namespace ovrel {

// Sizes of the module grid, in device-independent pixels (points).
struct GridIconMetrics {
    static constexpr int iconSide = 40;
    static constexpr int iconSideMin = 36;
    static constexpr int iconSideMax = 44;
    static constexpr int textBlockWidth = 68;
    static constexpr int textBlockHeight = 54;
    static constexpr int cellWidth = iconSide + textBlockWidth;   // 108
    static constexpr int cellHeight = iconSide + textBlockHeight; // 94
    static constexpr int padding = 10;
    static constexpr int hoverCornerRadius = 6;
    static constexpr double iconSourceFraction = 0.875;
    static constexpr int zoomPixels = 160;

    static constexpr QSize cellSize(int iconSideValue) {
        return {iconSideValue + textBlockWidth, iconSideValue + textBlockHeight};
    }
    static constexpr QSize gridSize(int rowCount, int columnCount) {
        return {columnCount * cellWidth + 2 * padding, rowCount * cellHeight + 2 * padding};
    }
    // The centred part of a source icon that is kept when zooming (1/16 cut per edge).
    static QRectF iconSourceRect(QSizeF imageSize);

    // A pixels x pixels rendering of the image's centred source rectangle,
    // shown as 40 x 40 points (so its device pixel ratio is pixels / 40); the
    // image unchanged when it cannot be rendered. One smooth scale, straight
    // from the source. Works on images so it can run off the main thread.
    static QImage zoomed(const QImage& image, int pixels = zoomPixels);
};

} // namespace ovrel
