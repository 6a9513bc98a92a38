// The program's art as Qt holds it: decoded only at the scales it is drawn at.

#include "support/ArtDigests.h"
#include "support/HeapInUse.h"
#include "ui/Picture.h"
#include "ui/qt/Picture.h"

#include <QDir>
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

// Each drawing of the art, read as the program reads it, is the one first committed.
TEST(QtArt, EveryDrawingIsPixelForPixelTheOneCommitted) {
    static const char* const suffixes[] = {"", "@1.5x", "@2x"};
    for (const auto& art : testing_support::ArtDigests) {
        const QString stem = QLatin1String(art.name) + suffixes[static_cast<int>(art.scale)];
        const QStringList files = QDir(QStringLiteral(":/art")).entryList({stem + ".*"});
        ASSERT_EQ(files.size(), 1) << stem.toStdString();
        const QImage image = QImage(":/art/" + files[0]).convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(image.isNull()) << stem.toStdString();
        testing_support::PixelDigest digest(image.width(), image.height());
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb pixel = image.pixel(x, y);
                digest.AddPixel(qRed(pixel), qGreen(pixel), qBlue(pixel));
            }
        EXPECT_EQ(digest.Value(), art.digest)
            << stem.toStdString() << std::hex << " 0x" << digest.Value();
    }
}
