#include "startup/ErrorReport.h"

#include "support/StandIns.h"
#include "ui/Application.h"
#include "ui/Services.h"

#include <gtest/gtest.h>
#include <new>
#include <stdexcept>

namespace {

using testing_support::OutsideWorldTest;

TEST(ErrorReport, TextLayoutByteForByte) {
    // The program carries no file description, so that line ends after its label.
    ASSERT_EQ(ui::app::FileDescription(), "");
    EXPECT_EQ(modMain::ErrorReportText("Public Sub SetRegKey",
                                       ui::Error(5, "Invalid procedure call", "Registry")),
              "  Program Name : \r\n"
              "\r\n"
              "   Routine Name : Public Sub SetRegKey\r\n"
              "\r\n"
              "     Error Number : 5\r\n"
              "      Error Source : Registry\r\n"
              "Error Description : Invalid procedure call\r\n"
              "\r\n");
}

TEST(ErrorReport, NegativeNumbersAndEmptyFields) {
    const std::string text =
        modMain::ErrorReportText("Private Sub Form_Load", ui::Error(-2147024891, "", ""));
    EXPECT_NE(text.find("\r\n     Error Number : -2147024891\r\n      Error Source : \r\n"
                        "Error Description : \r\n\r\n"),
              std::string::npos);
}

class Trap : public OutsideWorldTest {};

TEST_F(Trap, FailureSkipsTheRestPreparesThenReportsOnce) {
    std::vector<std::string> steps;
    const bool completed = modMain::Trapped(
        "Private Sub tmrMove_Timer",
        [&] {
            steps.push_back("first");
            throw ui::Error(6, "Overflow");
            steps.push_back("never");
        },
        [&] {
            steps.push_back("prepare");
            EXPECT_TRUE(messages.empty()); // before the report, as hiding the window must be
        });
    EXPECT_FALSE(completed);
    EXPECT_EQ(steps, (std::vector<std::string>{"first", "prepare"}));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, "CRITICAL ERROR");
    EXPECT_EQ(messages[0].style, 16);
    EXPECT_EQ(messages[0].text,
              modMain::ErrorReportText("Private Sub tmrMove_Timer", ui::Error(6, "Overflow")));
}

TEST_F(Trap, SuccessShowsNothing) {
    EXPECT_TRUE(modMain::Trapped("Public Sub SetRegKey", [] {}));
    EXPECT_TRUE(messages.empty());
}

TEST_F(Trap, ForeignFailuresGetNumbersOfTheirOwn) {
    modMain::Trapped("Public Sub GetRegKey", [] { throw std::bad_alloc(); });
    modMain::Trapped("Public Sub GetRegKey", [] { throw std::runtime_error("disk on fire"); });
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_NE(messages[0].text.find("Error Number : 7\r\n"), std::string::npos);
    EXPECT_NE(messages[0].text.find("Error Description : Out of memory\r\n"), std::string::npos);
    EXPECT_NE(messages[1].text.find("Error Number : 51\r\n"), std::string::npos);
    EXPECT_NE(messages[1].text.find("Error Description : disk on fire\r\n"), std::string::npos);
}

TEST_F(Trap, TheEndOfTheProcessIsNoFailure) {
    EXPECT_TRUE(Ends([] { modMain::Trapped("Public Sub SetRegKey", [] { ui::EndProgram(); }); }));
    EXPECT_TRUE(messages.empty());
}

} // namespace
