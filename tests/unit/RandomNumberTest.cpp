#include "startup/modMain.h"
#include "support/StandIns.h"
#include "ui/Error.h"

#include <gtest/gtest.h>
#include <map>

namespace {

class RandomNumber : public testing_support::OutsideWorldTest {};

TEST_F(RandomNumber, StaysWithin11To40AndCoversThemAllForAnyTimeOfDay) {
    std::map<int, int> seen;
    for (int i = 0; i < 20000; ++i) {
        now.SecondsSinceMidnight = i * 4.3201; // spread over the whole day
        const int n = modMain::GetRandomNumber(10, 40);
        ASSERT_GE(n, 11);
        ASSERT_LE(n, 40);
        ++seen[n];
    }
    EXPECT_EQ(seen.size(), 30u);
    for (const auto& [number, count] : seen)
        EXPECT_NEAR(count, 20000 / 30, 200) << number;
}

TEST_F(RandomNumber, ReseedsFromTheClockAtEveryCall) {
    now.SecondsSinceMidnight = 1234.5;
    const int first = modMain::GetRandomNumber(10, 40);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(modMain::GetRandomNumber(10, 40), first);
}

TEST_F(RandomNumber, RefusesAnEmptyRangeInsteadOfSpinning) {
    for (auto [lower, upper] : {std::pair{40, 40}, std::pair{40, 10}}) {
        try {
            modMain::GetRandomNumber(lower, upper);
            ADD_FAILURE() << lower << ".." << upper;
        } catch (const ui::Error& e) {
            EXPECT_EQ(e.Number, ui::errors::InvalidArgument);
        }
    }
}

} // namespace
