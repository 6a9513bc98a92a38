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
