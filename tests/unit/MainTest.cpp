// Main and CheckSettings against the real store, with the outside world replaced.

#include "startup/modMain.h"
#include "support/StandIns.h"

#include <gtest/gtest.h>

namespace {

using testing_support::Stored;
using testing_support::StoredNames;

class MainTest : public testing_support::OutsideWorldTest {
protected:
    void Store(const std::string& name, const std::string& value) {
        modMain::SetRegKey(modMain::HKeyCurrentUser, modMain::SettingsKey, name, value);
    }
    // Runs Main with the command line; true when it ended the process.
    bool RunMain(const std::string& arguments) {
        commandLine = arguments;
        return Ends(modMain::Main);
    }
    std::size_t ReportsFor(const std::string& routine) const {
        std::size_t count = 0;
        for (const auto& m : messages)
            count += m.title == "CRITICAL ERROR" &&
                     m.text.find("   Routine Name : " + routine + "\r\n") != std::string::npos;
        return count;
    }
};

TEST_F(MainTest, UnknownSwitchOnAFreshStoreLeavesOnlyTheDefaults) {
    for (const char* arguments : {"/a", "/x"}) {
        testing_support::ClearStore();
        EXPECT_TRUE(RunMain(arguments)) << arguments;
        EXPECT_EQ(StoredNames(), (std::vector<std::string>{"Preview", "Screen Saver Type"}));
        EXPECT_EQ(Stored("Preview"), "False");
        EXPECT_EQ(Stored("Screen Saver Type"), "1");
        EXPECT_EQ(modMain::ScreenSaverType, 1);
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(MainTest, UnknownSwitchKeepsTheStoredPreviewFlag) {
    Store("Preview", "True");
    EXPECT_TRUE(RunMain("/a"));
    EXPECT_EQ(Stored("Preview"), "True");
}

TEST_F(MainTest, SetupAndSaverStartsRecordThatTheyAreNoPreview) {
    for (const char* arguments : {"/c", "/C", "/c:4711", "", "/s", "/S"}) {
        Store("Preview", "True");
        RunMain(arguments);
        EXPECT_EQ(Stored("Preview"), "False") << '"' << arguments << '"';
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(MainTest, SaverStartSetsTheLipsColoursAndReadsTheType) {
    Store("Screen Saver Type", "2");
    RunMain("/s");
    EXPECT_EQ(modMain::LipsHourHandColor, 8);
    EXPECT_EQ(modMain::LipsMinuteHandColor, 7);
    EXPECT_EQ(modMain::LipsSecondHandColor, 12);
    EXPECT_EQ(modMain::ScreenSaverType, 2);
}

TEST_F(MainTest, OtherModesLeaveTheLipsColoursUnset) {
    RunMain("/c");
    RunMain("/p 4711");
    EXPECT_EQ(modMain::LipsHourHandColor, 0);
    EXPECT_EQ(modMain::LipsSecondHandColor, 0);
}

TEST_F(MainTest, PreviewStartRecordsItself) {
    for (const char* arguments : {"/p 4711", "/p:4711", "/P 4711"}) {
        Store("Preview", "False");
        RunMain(arguments);
        EXPECT_EQ(Stored("Preview"), "True") << arguments;
    }
}

TEST_F(MainTest, PreviewWithoutAUsablePaneEndsQuietlyWritingNothingMore) {
    for (const char* arguments : {"/p", "/p abc", "/p 99999999999", "/p 0x1F"}) {
        Store("Preview", "False");
        EXPECT_TRUE(RunMain(arguments)) << arguments;
        EXPECT_EQ(Stored("Preview"), "False") << arguments;
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(MainTest, SecondInstanceAfterASaverOrSetupStartEndsWithoutCheckingSettings) {
    anotherInstance = true;
    Store("Preview", "False");
    Store("Screen Saver Type", "abc"); // CheckSettings would report this
    for (const char* arguments : {"/s", "/c", "/p 4711", ""}) {
        EXPECT_FALSE(RunMain(arguments)); // returns: nothing is left open
        EXPECT_EQ(Stored("Preview"), "False");
    }
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(modMain::ScreenSaverType, 0);
    EXPECT_EQ(StoredNames(), (std::vector<std::string>{"Preview", "Screen Saver Type"}));
}

TEST_F(MainTest, SecondInstanceOnAFreshStoreIsRefusedAfterStoringThePreviewDefault) {
    anotherInstance = true;
    EXPECT_FALSE(RunMain("/s"));
    EXPECT_EQ(StoredNames(), std::vector<std::string>{"Preview"});
    EXPECT_EQ(Stored("Preview"), "False");
}

TEST_F(MainTest, SecondInstanceBesideAPreviewGoesOn) {
    anotherInstance = true;
    Store("Preview", "True");
    Store("Screen Saver Type", "3");
    RunMain("/s");
    EXPECT_EQ(modMain::ScreenSaverType, 3);
    EXPECT_EQ(Stored("Preview"), "False");
}

TEST_F(MainTest, UnreadablePreviewFlagCountsAsNoPreview) {
    anotherInstance = true;
    Store("Preview", "maybe");
    EXPECT_FALSE(RunMain("/s"));
    EXPECT_EQ(Stored("Preview"), "maybe");
    EXPECT_TRUE(messages.empty());

    anotherInstance = false; // alone, the start goes on and mends the flag
    RunMain("/s");
    EXPECT_EQ(Stored("Preview"), "False");
}

TEST_F(MainTest, CheckSettingsTakesOverAnyWholeNumber) {
    const std::pair<const char*, std::int32_t> cases[] = {
        {"1", 1}, {"3", 3}, {"7", 7}, {" 4 ", 4}, {"-1", -1}};
    for (const auto& [text, type] : cases) {
        Store("Screen Saver Type", text);
        EXPECT_TRUE(modMain::CheckSettings()) << text;
        EXPECT_EQ(modMain::ScreenSaverType, type) << text;
        EXPECT_EQ(Stored("Screen Saver Type"), text); // nothing is corrected
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(MainTest, CheckSettingsStoresTheDefaultTypeWhenMissing) {
    EXPECT_TRUE(modMain::CheckSettings());
    EXPECT_EQ(modMain::ScreenSaverType, 1);
    EXPECT_EQ(Stored("Screen Saver Type"), "1");
}

TEST_F(MainTest, CheckSettingsReportsTextThatIsNoWholeNumber) {
    const std::pair<const char*, std::int32_t> cases[] = {
        {"abc", 13}, {"", 13}, {"1.5", 13}, {"99999999999", 6}};
    for (const auto& [text, number] : cases) {
        messages.clear();
        modMain::ScreenSaverType = 0;
        Store("Screen Saver Type", text);
        EXPECT_FALSE(modMain::CheckSettings()) << text;
        EXPECT_EQ(modMain::ScreenSaverType, 0) << text;
        ASSERT_EQ(messages.size(), 1u) << text;
        EXPECT_EQ(ReportsFor("Public Sub CheckSettings"), 1u);
        EXPECT_NE(messages[0].text.find("Error Number : " + std::to_string(number) + "\r\n"),
                  std::string::npos)
            << text;
    }
}

TEST_F(MainTest, BadStoredTypeStopsEveryModeWithOneReport) {
    Store("Preview", "True");
    Store("Screen Saver Type", "abc");
    for (const char* arguments : {"/s", "/c", "/p 4711", "", "/a"}) {
        messages.clear();
        EXPECT_FALSE(RunMain(arguments)) << arguments; // returns with no window open
        EXPECT_EQ(messages.size(), 1u) << arguments;
        EXPECT_EQ(ReportsFor("Public Sub CheckSettings"), 1u) << arguments;
        EXPECT_EQ(Stored("Preview"), "True") << arguments; // never reached
    }
}

TEST_F(MainTest, UnreadableStoreGivesTwoReportsAndStops) {
    testing_support::BreakStore();
    EXPECT_FALSE(RunMain("/s"));
    // "Preview" and "Screen Saver Type" each fail to read; the empty type then fails to convert.
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(ReportsFor("Public Sub GetRegKey"), 2u);
    EXPECT_NE(messages[2].text.find("   Routine Name : Public Sub CheckSettings\r\n"),
              std::string::npos);
    EXPECT_EQ(modMain::LipsHourHandColor, 0);
}

} // namespace
