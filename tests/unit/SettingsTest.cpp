// GetRegKey and SetRegKey against the real per-user store.

#include "ui/Settings.h"

#include "startup/modMain.h"
#include "support/StandIns.h"

#include <gtest/gtest.h>

namespace {

using modMain::GetRegKey;
using modMain::HKeyCurrentUser;
using modMain::SetRegKey;
using modMain::SettingsKey;
using testing_support::Stored;

class Settings : public testing_support::OutsideWorldTest {};

TEST_F(Settings, MissingValueIsStoredWithItsDefault) {
    EXPECT_FALSE(Stored("Screen Saver Type"));
    EXPECT_EQ(GetRegKey(HKeyCurrentUser, SettingsKey, "Screen Saver Type", "1"), "1");
    EXPECT_EQ(Stored("Screen Saver Type"), "1");
    EXPECT_TRUE(messages.empty());
}

TEST_F(Settings, ExistingValueWinsOverTheDefaultEvenWhenEmpty) {
    SetRegKey(HKeyCurrentUser, SettingsKey, "Custom Graphic Path", "");
    EXPECT_EQ(GetRegKey(HKeyCurrentUser, SettingsKey, "Custom Graphic Path", "N/A"), "");
    EXPECT_EQ(Stored("Custom Graphic Path"), "");

    SetRegKey(HKeyCurrentUser, SettingsKey, "Screen Saver Type", "3");
    EXPECT_EQ(GetRegKey(HKeyCurrentUser, SettingsKey, "Screen Saver Type", "1"), "3");
    EXPECT_EQ(Stored("Screen Saver Type"), "3");
    EXPECT_TRUE(messages.empty());
}

TEST_F(Settings, AnyTextRoundTrips) {
    const std::string texts[] = {
        "C:\\My Pictures\\sunset, evening; 2.jpg",
        "  blanks kept around  ",
        "@Variant(start)",
        "\"quoted\" = and # hash",
        "N\xC3\xA4he \xE2\x98\xBE \xE6\x9C\x88", // non-ASCII
        "/home/user/Pictures/caf\xC3\xA9.gif",
        std::string(3000, 'x'),
    };
    for (const std::string& text : texts) {
        SetRegKey(HKeyCurrentUser, SettingsKey, "Custom Graphic Path", text);
        EXPECT_EQ(GetRegKey(HKeyCurrentUser, SettingsKey, "Custom Graphic Path", "N/A"), text);
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(Settings, UnreadableStoreIsReportedAndGivesTheEmptyText) {
    testing_support::BreakStore();
    EXPECT_EQ(GetRegKey(HKeyCurrentUser, SettingsKey, "Screen Saver Type", "1"), "");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, "CRITICAL ERROR");
    EXPECT_NE(messages[0].text.find("\r\n   Routine Name : Public Sub GetRegKey\r\n"),
              std::string::npos);
    // The report says what went wrong, not just that something did.
    const auto description = messages[0].text.find("Error Description : ");
    EXPECT_GT(messages[0].text.size(), description + 24);
}

TEST_F(Settings, FailedWriteIsReportedAndChangesNothing) {
    SetRegKey(HKeyCurrentUser, SettingsKey, "Screen Saver Type", "2");
    SetRegKey(0, SettingsKey, "Screen Saver Type", "4"); // no such root
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].text.find("\r\n   Routine Name : Public Sub SetRegKey\r\n"),
              std::string::npos);
    EXPECT_EQ(Stored("Screen Saver Type"), "2");
}

} // namespace
