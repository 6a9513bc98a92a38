// The options an X11 screen-saver daemon starts the hack with, and the window it draws in.

#include "startup/HackOptions.h"

#include <gtest/gtest.h>

namespace {

using modMain::HackWindow;
using modMain::ParseHackOptions;

TEST(HackOptions, TheSwitchesOfTheDisplaySettingsAreNoHacks) {
    std::string error;
    for (const auto& arguments : std::vector<std::vector<std::string>>{
             {}, {"/s"}, {"/c:4711"}, {"/p", "12"}, {""}, {"-"}, {"s"}})
        EXPECT_FALSE(ParseHackOptions(arguments, error)) << (arguments.empty() ? "" : arguments[0]);
    EXPECT_TRUE(error.empty());
}

TEST(HackOptions, EachOptionInEitherSpelling) {
    std::string error;
    const auto options = ParseHackOptions(
        {"--root", "-window-id", "0x2a00007", "--type", "2", "-picture", "/my pictures/a, b.jpg"},
        error);
    ASSERT_TRUE(options);
    EXPECT_TRUE(error.empty()) << error;
    EXPECT_TRUE(options->Root);
    EXPECT_EQ(options->WindowId, 0x2a00007u);
    EXPECT_EQ(options->SaverType, 2);
    EXPECT_EQ(options->Picture, "/my pictures/a, b.jpg");
    EXPECT_EQ(ParseHackOptions({"--window-id", "44040199"}, error)->WindowId, 44040199u);
}

TEST(HackOptions, MalformedOptionsSayWhatIsWrong) {
    for (const auto& arguments :
         std::vector<std::vector<std::string>>{{"--window-id"},
                                               {"--window-id", "-5"},
                                               {"--window-id", "0x1ffffffff"},
                                               {"--window-id", "12abc"},
                                               {"--type", "lips"},
                                               {"--type", "0"},
                                               {"--type", "9"},
                                               {"--type", "-1"},
                                               {"--picture"},
                                               {"--speed", "3"}}) {
        std::string error;
        EXPECT_TRUE(ParseHackOptions(arguments, error));
        EXPECT_FALSE(error.empty()) << arguments[0];
    }
}

TEST(HackOptions, TheWindowIsTheNamedOneOrTheDaemonsOrWithRootTheDesktop) {
    modMain::HackOptions named;
    named.WindowId = 7;
    EXPECT_EQ(HackWindow(named, "9", 1), 7u);
    modMain::HackOptions root;
    root.Root = true;
    EXPECT_EQ(HackWindow(root, "0x9", 1), 9u); // the daemon's window is its root
    EXPECT_EQ(HackWindow(root, nullptr, 1), 1u);
    EXPECT_EQ(HackWindow(root, "", 1), 1u);
    const modMain::HackOptions neither;
    EXPECT_EQ(HackWindow(neither, "12", 1), 12u);
    EXPECT_FALSE(HackWindow(neither, nullptr, 1));
    EXPECT_FALSE(HackWindow(neither, "not a window", 1));
}

} // namespace
