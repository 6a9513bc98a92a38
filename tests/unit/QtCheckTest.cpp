// XScreenSaver's settings file as the check reads it: the daemon's own format, with values
// continued over lines and hacks switched off by a "-".

#include "ui/qt/check/XScreenSaver.h"

#include <gtest/gtest.h>

namespace {

constexpr const char* Settings = "# XScreenSaver Preferences File\n"
                                 "timeout:\t0:15:00\n"
                                 "mode:\t\tone\n"
                                 "selected:\t2\n"
                                 "programs:\t\t\t\t\t\t\t      \\\n"
                                 "\t\t\t\t maze -root\t\t\t    \\n\\\n"
                                 "  GL:\t\t\t\t gears -root\t\t\t    \\n\\\n"
                                 "  \"Moondial\"  moondial --root \\n\\\n"
                                 "-\t\t\t\t attraction -root\t\t    \\n\\\n"
                                 "\n\n"
                                 "pointerHysteresis:\t10\n";

TEST(QtCheck, XScreenSaverSettingsAreReadAsTheDaemonReadsThem) {
    auto choice = ui::check::ParseXScreenSaverChoice(Settings);
    EXPECT_EQ(choice.timeout, std::chrono::minutes(15));
    EXPECT_EQ(choice.mode, "one");
    ASSERT_TRUE(choice.moondial.has_value());
    EXPECT_EQ(*choice.moondial, 2); // the third hack, as "selected" counts
    EXPECT_TRUE(choice.moondialSwitchedOn);
    EXPECT_TRUE(ui::check::Judge(choice).showsMoondial);

    choice.selected = 0;
    const auto another = ui::check::Judge(choice);
    EXPECT_FALSE(another.showsMoondial);
    EXPECT_EQ(another.finding.verdict, ui::check::Verdict::Problem);

    // Switched off in a list it picks from at random: it never shows.
    const std::string off =
        std::string(Settings).replace(std::string(Settings).find("  \"Moondial\""), 2, "- ");
    auto random = ui::check::ParseXScreenSaverChoice(off);
    random.mode = "random";
    EXPECT_FALSE(random.moondialSwitchedOn);
    EXPECT_FALSE(ui::check::Judge(random).showsMoondial);

    // The machine's defaults name it with their own prefix; none of ours there.
    const auto defaults = ui::check::ParseXScreenSaverChoice(
        "*timeout:\t\t0:10:00\n*programs:\t\tmaze -root \\n\\\n\t\tgears -root \\n\n");
    EXPECT_EQ(defaults.timeout, std::chrono::minutes(10));
    EXPECT_FALSE(defaults.moondial.has_value());
    EXPECT_EQ(ui::check::Judge(defaults).finding.verdict, ui::check::Verdict::Problem);
}

} // namespace
