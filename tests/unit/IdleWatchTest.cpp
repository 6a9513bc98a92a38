#include "startup/IdleWatch.h"

#include <gtest/gtest.h>

using namespace std::chrono;
using modMain::IdleTimeout;
using modMain::SaverStarts;
using Event = ui::idle::Event;

TEST(IdleWatch, TheOptionIsTheFirstArgumentInAnyCase) {
    EXPECT_TRUE(modMain::AsksForIdleWatch({"--idle", "10"}));
    EXPECT_TRUE(modMain::AsksForIdleWatch({"--IDLE"})); // the duration's absence said later
    EXPECT_FALSE(modMain::AsksForIdleWatch({}));
    EXPECT_FALSE(modMain::AsksForIdleWatch({"/s", "--idle"}));
    EXPECT_FALSE(modMain::AsksForIdleWatch({"--idlex", "10"}));
    EXPECT_FALSE(modMain::AsksForIdleWatch({"-idle", "10"}));
}

TEST(IdleWatch, DurationsAreMinutesOrCarryTheirUnit) {
    EXPECT_EQ(IdleTimeout("10"), minutes(10));
    EXPECT_EQ(IdleTimeout("10m"), minutes(10));
    EXPECT_EQ(IdleTimeout("10M"), minutes(10));
    EXPECT_EQ(IdleTimeout("90s"), seconds(90));
    EXPECT_EQ(IdleTimeout("1s"), seconds(1));
    EXPECT_EQ(IdleTimeout("2h"), hours(2));
    EXPECT_EQ(IdleTimeout("1440"), hours(24));
    EXPECT_EQ(IdleTimeout("86400s"), hours(24));
}

TEST(IdleWatch, DurationsOutOfRangeOrMalformedAreRefused) {
    for (const char* text : {"",
                             "0",
                             "0s",
                             "-5",
                             "-5m",
                             "1441",
                             "86401s",
                             "25h",
                             "m",
                             "s",
                             "10 m",
                             " 10",
                             "10ms",
                             "10sec",
                             "1.5",
                             "1e3",
                             "ten",
                             "10m5",
                             "99999999999999999999",
                             "9223372036854775807h",
                             "0x10"})
        EXPECT_FALSE(IdleTimeout(text)) << '"' << text << '"';
}

// The saver starts once per time away, and only while nothing holds it off.
TEST(IdleWatch, SaverStartsOncePerTimeAway) {
    SaverStarts starts;
    EXPECT_TRUE(starts.After(Event::UserIdle));
    EXPECT_FALSE(starts.After(Event::UserIdle)); // a second report of the same time away
    EXPECT_FALSE(starts.After(Event::UserBack)); // the saver still running
    EXPECT_FALSE(starts.After(Event::SaverEnded));
    EXPECT_TRUE(starts.After(Event::UserIdle));
    // A saver that ends by itself (another one ran) is not started over and over.
    EXPECT_FALSE(starts.After(Event::SaverEnded));
    EXPECT_FALSE(starts.After(Event::Uninhibited));
    EXPECT_FALSE(starts.After(Event::UserBack));
    EXPECT_TRUE(starts.After(Event::UserIdle));
}

TEST(IdleWatch, InhibitorsHoldTheSaverOffUntilReleased) {
    SaverStarts starts;
    EXPECT_FALSE(starts.After(Event::Inhibited));
    EXPECT_FALSE(starts.After(Event::UserIdle));
    EXPECT_FALSE(starts.After(Event::Uninhibited)); // still away: the timeout counts from here
    EXPECT_TRUE(starts.After(Event::ReleaseTimedOut));
    EXPECT_FALSE(starts.After(Event::Inhibited)); // a running saver is left alone
    EXPECT_FALSE(starts.After(Event::SaverEnded));
    EXPECT_FALSE(starts.After(Event::UserBack));
    EXPECT_FALSE(starts.After(Event::Uninhibited)); // released while the user is here
    EXPECT_TRUE(starts.After(Event::UserIdle));
}

// The user back before the saver's process had ended, and away again when it does.
TEST(IdleWatch, AnAwayTimeThatBeganWhileTheSaverEndedStartsItWhenItHasEnded) {
    SaverStarts starts;
    EXPECT_TRUE(starts.After(Event::UserIdle));
    EXPECT_FALSE(starts.After(Event::UserBack));
    EXPECT_FALSE(starts.After(Event::UserIdle));
    EXPECT_TRUE(starts.After(Event::SaverEnded));
}

// A lock or sleep ends the saver (the backend ends it) and holds it off while it lasts; the
// time away it fell in is spent, so an unlock shows the desktop, not the saver again.
TEST(IdleWatch, ALockHoldsTheSaverOffAndSpendsTheTimeAway) {
    SaverStarts starts;
    EXPECT_TRUE(starts.After(Event::UserIdle));
    EXPECT_FALSE(starts.After(Event::SessionLocked));
    EXPECT_FALSE(starts.After(Event::SaverEnded));      // ended for the lock: not again
    EXPECT_FALSE(starts.After(Event::UserBack));        // typing at the lock screen
    EXPECT_FALSE(starts.After(Event::UserIdle));        // and away from it again
    EXPECT_FALSE(starts.After(Event::SessionUnlocked)); // unlocked with no input
    EXPECT_FALSE(starts.After(Event::UserBack));
    EXPECT_TRUE(starts.After(Event::UserIdle));

    // Locked and unlocked while the user was here: the next time away is the saver's.
    SaverStarts active;
    EXPECT_FALSE(active.After(Event::SessionLocked));
    EXPECT_FALSE(active.After(Event::SessionUnlocked));
    EXPECT_TRUE(active.After(Event::UserIdle));
}

// After a film, the saver starts the whole timeout after the later of the last input and the
// release, never at the release itself.
TEST(IdleWatch, TimeAwayCountsFromTheRelease) {
    SaverStarts film;
    EXPECT_FALSE(film.After(Event::Inhibited));
    EXPECT_FALSE(film.After(Event::UserIdle));    // an hour without input, the film playing
    EXPECT_FALSE(film.After(Event::Uninhibited)); // the film ends: not now
    EXPECT_FALSE(film.After(Event::UserBack));    // the viewer stirs before the timeout
    EXPECT_FALSE(film.After(Event::ReleaseTimedOut));
    EXPECT_TRUE(film.After(Event::UserIdle)); // the idle source's own count from that input

    // Held again before the timeout since the first release has passed.
    SaverStarts twice;
    EXPECT_FALSE(twice.After(Event::Inhibited));
    EXPECT_FALSE(twice.After(Event::UserIdle));
    EXPECT_FALSE(twice.After(Event::Uninhibited));
    EXPECT_FALSE(twice.After(Event::Inhibited));
    EXPECT_FALSE(twice.After(Event::ReleaseTimedOut)); // from the first release: stale
    EXPECT_FALSE(twice.After(Event::Uninhibited));
    EXPECT_TRUE(twice.After(Event::ReleaseTimedOut));

    // Released while the user is here: the idle source counts as usual.
    SaverStarts present;
    EXPECT_FALSE(present.After(Event::Inhibited));
    EXPECT_FALSE(present.After(Event::Uninhibited));
    EXPECT_FALSE(present.After(Event::ReleaseTimedOut));
    EXPECT_TRUE(present.After(Event::UserIdle));
}
