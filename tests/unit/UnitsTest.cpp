#include "ui/Units.h"

#include <gtest/gtest.h>

TEST(Units, TwipsBecomePixelsAtFifteenRoundingHalvesToEven) {
    EXPECT_EQ(ui::TwipsToPixels(2160), 144);
    EXPECT_EQ(ui::TwipsToPixels(2175), 145);
    EXPECT_EQ(ui::TwipsToPixels(1145), 76); // 76.33
    EXPECT_EQ(ui::TwipsToPixels(1010), 67); // 67.33
    EXPECT_EQ(ui::TwipsToPixels(7.5), 0);   // 0.5
    EXPECT_EQ(ui::TwipsToPixels(22.5), 2);  // 1.5
    EXPECT_EQ(ui::TwipsToPixels(37.5), 2);  // 2.5
    EXPECT_EQ(ui::TwipsToPixels(-22.5), -2);
    EXPECT_EQ(ui::TwipsToPixels(307.5), 20); // 20.5
}

// At every scale the layout is the logical one, each figure rounded once on the device.
TEST(Units, LogicalPixelsCoverScaleDevicePixels) {
    struct Case {
        double scale;
        long dialogWidth, dialogHeight, buttonLeft;
    };
    // The setup dialog's inner area is 493 x 355 logical pixels; a button starts at 205.
    for (const Case c :
         {Case{1.0, 493, 355, 205}, Case{1.25, 616, 444, 256}, Case{1.5, 740, 532, 308},
          Case{1.75, 863, 621, 359}, Case{2.0, 986, 710, 410}, Case{3.0, 1479, 1065, 615}}) {
        EXPECT_EQ(ui::LogicalToDevice(493, c.scale), c.dialogWidth) << c.scale;
        EXPECT_EQ(ui::LogicalToDevice(355, c.scale), c.dialogHeight) << c.scale;
        EXPECT_EQ(ui::TwipsToDevice(3075, c.scale), c.buttonLeft) << c.scale;
        EXPECT_DOUBLE_EQ(
            ui::DeviceToLogical(static_cast<double>(ui::LogicalToDevice(400, c.scale)), c.scale),
            400.0)
            << c.scale;
    }
    // Twips are rounded to logical pixels first: 22.5 twips are 2 pixels at any scale.
    EXPECT_EQ(ui::TwipsToDevice(22.5, 1.5), 3);
    EXPECT_EQ(ui::TwipsToDevice(22.5, 1.25), 2); // 2.5, to the even neighbour
}

TEST(Units, EachScaleTakesTheNextLargerDrawing) {
    for (const auto& [scale, art] : {std::pair{0.75, 1.0},
                                     {1.0, 1.0},
                                     {1.25, 1.5},
                                     {1.5, 1.5},
                                     {1.75, 2.0},
                                     {2.0, 2.0},
                                     {3.0, 2.0}})
        EXPECT_EQ(ui::ArtScaleFor(scale), art) << scale;
}
