#include "ui/InstanceMark.h"

#include <gtest/gtest.h>
#include <optional>

TEST(InstanceMark, OnlyTheFirstHolderHoldsItUntilAllLetGo) {
    std::optional<ui::InstanceMark> first, second;
    first.emplace();
    second.emplace();
    EXPECT_TRUE(first->Held());
    EXPECT_FALSE(second->Held());
    second.reset();
    first.reset();
    ui::InstanceMark later;
    EXPECT_TRUE(later.Held());
}
