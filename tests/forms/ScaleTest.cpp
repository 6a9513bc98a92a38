// The forms on a display scaled to 150% or 200% (the test program runs again with
// QT_SCALE_FACTOR set): the layout in logical pixels as at 100%, that many times more device
// pixels, and the art drawn for the scale rather than enlarged.

#include "SaverFixture.h"
#include "setup/frmSetup.h"
#include "support/WidgetOf.h"
#include "ui/Units.h"

#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <gtest/gtest.h>

namespace {

class Scaled : public SaverFixture {
protected:
    void SetUp() override {
        SaverFixture::SetUp();
        scale = QGuiApplication::primaryScreen()->devicePixelRatio();
        if (scale == 1)
            GTEST_SKIP() << "runs on a scaled display (QT_SCALE_FACTOR)";
    }
    QSize Device(const QSize& logical) const {
        return {static_cast<int>(ui::LogicalToDevice(logical.width(), scale)),
                static_cast<int>(ui::LogicalToDevice(logical.height(), scale))};
    }
    // The picture's own drawing for this scale, as the art folder has it.
    QImage DrawingFor(const char* name) const {
        const char* suffix = ui::ArtScaleFor(scale) == 1.5 ? "@1.5x" : "@2x";
        return QImage(QStringLiteral(":/art/%1%2.png").arg(name, suffix))
            .convertToFormat(QImage::Format_RGB32);
    }
    double scale = 1;
};

bool Near(const QSize& a, const QSize& b) {
    return std::abs(a.width() - b.width()) <= 1 && std::abs(a.height() - b.height()) <= 1;
}

TEST_F(Scaled, TheSetupDialogIsItsLayoutAtTheScale) {
    frmSetup d;
    d.Show();
    QWidget* window = testing_support::WidgetOf(d.Form);
    EXPECT_EQ(window->size(), QSize(493, 355));
    EXPECT_EQ(testing_support::WidgetOf(d.optScreenSaver[3])->geometry(), QRect(15, 200, 119, 17));
    EXPECT_DOUBLE_EQ(window->devicePixelRatioF(), scale);
    const QImage shot = window->grab().toImage();
    EXPECT_TRUE(Near(shot.size(), Device({493, 355}))) << shot.width() << "x" << shot.height();
    // The banner is its drawing for the scale, pixel for pixel.
    const QImage banner =
        testing_support::WidgetOf(d.Image1)->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage drawn = DrawingFor("setup_banner");
    ASSERT_FALSE(drawn.isNull());
    EXPECT_EQ(banner.copy(QRect(QPoint(0, 0), drawn.size())), drawn);
}

// The dial: its logical size and the motion's figures as at 100%, its pixels those of its own
// drawing for the scale, except where the hands cross the grey.
TEST_F(Scaled, TheDialIsItsDrawingForTheScale) {
    auto saver = Shown(1);
    ASSERT_EQ(ends, 0);
    const ui::PictureBox& dial = saver->picClock;
    EXPECT_EQ(dial.Width(), 2160); // 144 logical pixels, as at 100%
    const QImage box =
        testing_support::WidgetOf(dial)->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_TRUE(Near(box.size(), Device({144, 145}))) << box.width() << "x" << box.height();
    const QImage drawn = DrawingFor("clock");
    ASSERT_FALSE(drawn.isNull());
    const QImage shown = box.copy(QRect(QPoint(0, 0), drawn.size()));
    const QRgb grey = qRgb(192, 192, 192);
    int differing = 0;
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x)
            differing += drawn.pixel(x, y) != grey && shown.pixel(x, y) != drawn.pixel(x, y);
    EXPECT_EQ(differing, 0);
}

} // namespace
