#include "startup/CommandLine.h"

#include "startup/modMain.h"

#include <gtest/gtest.h>

using modMain::Mode;
using modMain::ModeOf;
using modMain::PreviewWindowNumber;

TEST(CommandLine, FirstTwoCharactersChooseTheModeInAnyCase) {
    EXPECT_EQ(ModeOf("/c"), Mode::Setup);
    EXPECT_EQ(ModeOf("/C"), Mode::Setup);
    EXPECT_EQ(ModeOf("/c:4711"), Mode::Setup);
    EXPECT_EQ(ModeOf("/s"), Mode::Saver);
    EXPECT_EQ(ModeOf("/S"), Mode::Saver);
    EXPECT_EQ(ModeOf("/sx"), Mode::Saver);
    EXPECT_EQ(ModeOf("/p 4711"), Mode::Preview);
    EXPECT_EQ(ModeOf("/P:4711"), Mode::Preview);
    EXPECT_EQ(ModeOf(""), Mode::Setup); // the system's Configure command
    for (const char* other : {"/a", "/x", "/", "c", "-s", " /s", "s/", "/ p", "\\s"})
        EXPECT_EQ(ModeOf(other), Mode::None) << other;
}

TEST(CommandLine, PreviewPaneFollowsOneSeparator) {
    EXPECT_EQ(PreviewWindowNumber("/p 4711"), 4711);
    EXPECT_EQ(PreviewWindowNumber("/p:4711"), 4711);
    EXPECT_EQ(PreviewWindowNumber("/P 4711"), 4711);
    EXPECT_EQ(PreviewWindowNumber("/p  4711"), 4711);
    EXPECT_EQ(PreviewWindowNumber("/p\xE2\x98\xBE"
                                  "4711"),
              4711); // a separator of several bytes
    EXPECT_EQ(PreviewWindowNumber("/p -2147483648"), INT32_MIN);
    EXPECT_EQ(PreviewWindowNumber("/p4711"), 711); // any character separates
}

// Some callers print a handle as an unsigned number: the same 32 bits, not an overflow.
TEST(CommandLine, PaneHandlesPrintedUnsignedAreTheSameBits) {
    EXPECT_EQ(PreviewWindowNumber("/p 2147483648"), INT32_MIN);
    EXPECT_EQ(PreviewWindowNumber("/p:3000000000"), static_cast<std::int32_t>(3000000000u));
    EXPECT_EQ(PreviewWindowNumber("/p 4294967295 "), -1);
    EXPECT_EQ(PreviewWindowNumber("/p +4294967295"), -1);
}

TEST(CommandLine, MissingOrBadPaneHandleGivesNothing) {
    for (const char* bad : {"/p", "/p ", "/p:", "/p abc", "/p 12abc", "/p 0x1F", "/p 99999999999",
                            "/p 4294967296", "/p -2147483649", "/p -4294967295", "/p +", "/p 1 2"})
        EXPECT_FALSE(PreviewWindowNumber(bad).has_value()) << bad;
}

// A run that lives in another program's window needs that window's display system (X11 on a
// Wayland desktop); the saver and the dialog run on the desktop's own.
TEST(CommandLine, ThePreviewAndTheHackNameOtherWindows) {
    using modMain::NamesOtherWindows;
    EXPECT_TRUE(NamesOtherWindows({"/p", "4711"}));
    EXPECT_TRUE(NamesOtherWindows({"/P:4711"}));
    EXPECT_TRUE(NamesOtherWindows({"--root"}));
    EXPECT_TRUE(NamesOtherWindows({"--window-id", "0x400007"}));
    EXPECT_TRUE(NamesOtherWindows({"--type", "2"})); // a hack still, in the daemon's window
    EXPECT_FALSE(NamesOtherWindows({"/s"}));
    EXPECT_FALSE(NamesOtherWindows({"/c:4711"}));
    EXPECT_FALSE(NamesOtherWindows({}));
    EXPECT_FALSE(NamesOtherWindows({"/x"}));
}
