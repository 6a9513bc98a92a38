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

TEST_F(RandomNumber, ReadsTheClockAtEveryCall) {
    int readings = 0;
    ui::World().Now = [&] {
        ++readings;
        return now;
    };
    for (int i = 1; i <= 5; ++i) {
        modMain::GetRandomNumber(10, 40);
        EXPECT_EQ(readings, i);
    }
}

// The clock moves on only every few milliseconds: calls within one reading of it must still
// draw numbers of their own, or both axes of a bounce take the same step.
TEST_F(RandomNumber, CallsAtTheSameMomentDrawNumbersOfTheirOwn) {
    int equal = 0;
    std::map<int, int> seen;
    for (int i = 0; i < 3000; ++i) {
        now.SecondsSinceMidnight = 30000 + i * 0.001;
        const int first = modMain::GetRandomNumber(10, 40);
        const int second = modMain::GetRandomNumber(10, 40);
        equal += first == second;
        ++seen[first];
        ++seen[second];
    }
    EXPECT_LT(equal, 3000 / 30 * 2); // chance alone gives one in 30
    EXPECT_EQ(seen.size(), 30u);
    for (const auto& [number, count] : seen)
        EXPECT_NEAR(count, 6000 / 30, 60) << number;
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
