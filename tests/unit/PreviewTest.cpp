// The preview window on the backend of the build: its colour cycle, its layout in a pane, and
// its end when there is no pane to live in.

#include "preview/frmPreview.h"
#include "startup/modMain.h"
#include "support/StandIns.h"
#include "ui/Units.h"

#include <gtest/gtest.h>

namespace {

class Preview : public testing_support::OutsideWorldTest {};

TEST_F(Preview, TheColoursCycleBetweenBlackAndBlueAndRedAndBlack) {
    frmPreview preview;
    EXPECT_FALSE(preview.tmrColor.Enabled()); // until the load
    EXPECT_EQ(preview.tmrColor.Interval(), 200);
    preview.Form.Load();
    EXPECT_TRUE(preview.tmrColor.Enabled());
    EXPECT_EQ(preview.Form.BackColor(), ui::Black); // the design colours, until the first tick
    EXPECT_EQ(preview.lbl0.ForeColor(), ui::Rgb(255, 255, 255));

    const struct {
        int tick;
        ui::Color back, name;
    } expected[] = {{1, ui::Rgb(0, 0, 5), ui::Rgb(245, 0, 0)},
                    {50, ui::Rgb(0, 0, 250), ui::Rgb(0, 0, 0)},
                    {51, ui::Rgb(0, 0, 245), ui::Rgb(5, 0, 0)},
                    {99, ui::Rgb(0, 0, 5), ui::Rgb(245, 0, 0)},
                    {100, ui::Rgb(0, 0, 10), ui::Rgb(240, 0, 0)}};
    std::size_t next = 0;
    for (int tick = 1; tick <= 300; ++tick) {
        preview.tmrColor_Timer();
        ASSERT_EQ(preview.BlueLevel + preview.RedLevel, 250) << tick;
        ASSERT_GE(preview.BlueLevel, 5);
        ASSERT_LE(preview.BlueLevel, 250);
        ASSERT_EQ(preview.BlueStep, -preview.RedStep);
        if (next < std::size(expected) && expected[next].tick == tick) {
            EXPECT_EQ(preview.Form.BackColor(), expected[next].back) << tick;
            EXPECT_EQ(preview.lbl0.ForeColor(), expected[next].name) << tick;
            ++next;
        }
    }
    EXPECT_EQ(next, std::size(expected));
}

TEST_F(Preview, TheNameAndTheLipsAreCentredAcrossThePane) {
    frmPreview preview;
    EXPECT_EQ(preview.Form.ScaleWidth(), 2790);
    EXPECT_EQ(preview.Form.ScaleHeight(), 1935);
    preview.Form.Load();
    preview.Form.SetClientSize(2280, 1680); // a pane of 152 x 112 pixels
    preview.Form_Resize();
    // 2275 and 307.5 twips, which the windows hold to the nearest pixel (halves to even).
    EXPECT_EQ(preview.lbl0.Width(), ui::TwipsToPixels(2275) * 15.0);
    EXPECT_EQ(preview.imgLips.Left(), 300);
    EXPECT_EQ(preview.imgLips.Top(), 75);
    EXPECT_EQ(preview.lbl0.Left(), 75);
    EXPECT_EQ(preview.lbl0.Top(), 1200);
    EXPECT_EQ(preview.imgLips.Width(), 1665);
}

// No pane would ever destroy it: the process ends rather than be left behind.
TEST_F(Preview, AHandleThatNamesNoWindowEndsThePreview) {
    EXPECT_TRUE(Ends([] { modMain::EmbedPreview(0x7ff0001); }));
    EXPECT_TRUE(messages.empty());
}

} // namespace
