// The program's art as Qt holds it: decoded only at the scales it is drawn at.

#include "support/HeapInUse.h"
#include "ui/Picture.h"
#include "ui/qt/Picture.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

// Every drawing of the saver's three faces was decoded at the start, 1.9 MB of pixels at 100%
// that only a display at 150% or 200% draws.
TEST(QtArt, ThePictureHoldsOnlyTheDrawingsItIsDrawnAt) {
    constexpr std::int64_t Own = 222 * 136 * 4, Double = 444 * 272 * 4; // the lips at 1x, 2x
    const std::int64_t start = testing_support::HeapInUse();
    const ui::Picture lips = ui::ResourcePicture("lips");
    EXPECT_EQ(lips.WidthPixels(), 222);
    EXPECT_EQ(lips.HeightPixels(), 136);
    EXPECT_LT(testing_support::HeapInUse() - start, Own / 2); // its size, not its pixels

    const auto drawAt = [&](double scale) {
        QImage target(static_cast<int>(222 * scale), static_cast<int>(136 * scale),
                      QImage::Format_RGB32);
        target.setDevicePixelRatio(scale);
        target.fill(Qt::black);
        QPainter painter(&target);
        ui::DrawPicture(painter, lips, QPointF(0, 0));
        painter.end();
        return target;
    };
    const QImage atOne = drawAt(1.0);
    EXPECT_NE(atOne.pixel(111, 68), QColor(Qt::black).rgb());
    const std::int64_t drawnAtOne = testing_support::HeapInUse() - start;
    EXPECT_LT(drawnAtOne, Own * 3); // its own drawing and the target, no larger one
    drawAt(2.0);
    EXPECT_GT(testing_support::HeapInUse() - start, drawnAtOne + Double / 2);
}
