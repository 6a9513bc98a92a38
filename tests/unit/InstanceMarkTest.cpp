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

// The idle watcher keeps to one per session, whether or not a saver of its own runs.
TEST(InstanceMark, TheIdleWatchersMarkIsItsOwn) {
    using Of = ui::InstanceMark::Of;
    const ui::InstanceMark saver(Of::Saver);
    std::optional<ui::InstanceMark> watcher(std::in_place, Of::IdleWatch);
    EXPECT_TRUE(saver.Held());
    EXPECT_TRUE(watcher->Held());
    EXPECT_FALSE(ui::InstanceMark(Of::IdleWatch).Held());
    watcher.reset();
    EXPECT_TRUE(ui::InstanceMark(Of::IdleWatch).Held());
}
