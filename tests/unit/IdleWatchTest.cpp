#include "startup/IdleWatch.h"

#include "startup/SaverStarts.h"

#include <gtest/gtest.h>

using namespace std::chrono;
using modMain::IdleTimeout;
using ui::idle::Edge;
using ui::idle::Role;

namespace {

// The policy as the watcher drives it, on a clock of the test's own: true when the saver starts.
class Watching {
public:
    static constexpr milliseconds Timeout = minutes(10);

    bool After(Role from, Edge edge) { return Note(starts.After(from, edge, now)); }
    bool Idle() { return After(Role::IdleSignal, Edge::Idle); }
    bool Back() { return After(Role::IdleSignal, Edge::Back); }
    bool Hold(Role from = Role::InhibitService) { return After(from, Edge::Inhibited); }
    bool Release(Role from = Role::InhibitService) { return After(from, Edge::Released); }
    bool Lock(Role from = Role::LoginSession) { return After(from, Edge::Locked); }
    bool Unlock(Role from = Role::LoginSession) { return After(from, Edge::Unlocked); }
    bool SaverEnded() { return After(Role::Saver, Edge::Gone); }
    // The timeout passes: the watcher asks again at the deadline, if the policy set one.
    bool TimeoutPasses() {
        now += Timeout;
        const auto due = starts.Deadline();
        return due && *due <= now && Note(starts.At(now));
    }

    ui::idle::Decision last;

private:
    bool Note(const ui::idle::Decision& decision) {
        last = decision;
        return decision.startSaver;
    }
    modMain::SaverStarts starts{Timeout};
    ui::idle::Clock::time_point now{};
};

} // namespace

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
    Watching starts;
    EXPECT_TRUE(starts.Idle());
    EXPECT_FALSE(starts.Idle()); // a second report of the same time away
    EXPECT_FALSE(starts.Back()); // the saver still running
    EXPECT_FALSE(starts.SaverEnded());
    EXPECT_TRUE(starts.Idle());
    // A saver that ends by itself (another one ran) is not started over and over.
    EXPECT_FALSE(starts.SaverEnded());
    EXPECT_FALSE(starts.Release());
    EXPECT_FALSE(starts.Back());
    EXPECT_TRUE(starts.Idle());
}

TEST(IdleWatch, InhibitorsHoldTheSaverOffUntilReleased) {
    Watching starts;
    EXPECT_FALSE(starts.Hold());
    EXPECT_FALSE(starts.Idle());
    EXPECT_FALSE(starts.Release()); // still away: the timeout counts from here
    EXPECT_TRUE(starts.TimeoutPasses());
    EXPECT_FALSE(starts.Hold()); // a running saver is left alone
    EXPECT_FALSE(starts.SaverEnded());
    EXPECT_FALSE(starts.Back());
    EXPECT_FALSE(starts.Release()); // released while the user is here
    EXPECT_TRUE(starts.Idle());
}

// The user back before the saver's process had ended, and away again when it does.
TEST(IdleWatch, AnAwayTimeThatBeganWhileTheSaverEndedStartsItWhenItHasEnded) {
    Watching starts;
    EXPECT_TRUE(starts.Idle());
    EXPECT_FALSE(starts.Back());
    EXPECT_FALSE(starts.Idle());
    EXPECT_TRUE(starts.SaverEnded());
}

// A lock or sleep ends the saver and holds it off while it lasts; the
// time away it fell in is spent, so an unlock shows the desktop, not the saver again.
TEST(IdleWatch, ALockHoldsTheSaverOffAndSpendsTheTimeAway) {
    Watching starts;
    EXPECT_TRUE(starts.Idle());
    EXPECT_FALSE(starts.Lock());
    EXPECT_FALSE(starts.SaverEnded()); // ended for the lock: not again
    EXPECT_FALSE(starts.Back());       // typing at the lock screen
    EXPECT_FALSE(starts.Idle());       // and away from it again
    EXPECT_FALSE(starts.Unlock());     // unlocked with no input
    EXPECT_FALSE(starts.Back());
    EXPECT_TRUE(starts.Idle());

    // Locked and unlocked while the user was here: the next time away is the saver's.
    Watching active;
    EXPECT_FALSE(active.Lock());
    EXPECT_FALSE(active.Unlock());
    EXPECT_TRUE(active.Idle());
}

// After a film, the saver starts the whole timeout after the later of the last input and the
// release, never at the release itself.
TEST(IdleWatch, TimeAwayCountsFromTheRelease) {
    Watching film;
    EXPECT_FALSE(film.Hold());
    EXPECT_FALSE(film.Idle());    // an hour without input, the film playing
    EXPECT_FALSE(film.Release()); // the film ends: not now
    EXPECT_FALSE(film.Back());    // the viewer stirs before the timeout
    EXPECT_FALSE(film.TimeoutPasses());
    EXPECT_TRUE(film.Idle()); // the idle source's own count from that input

    // Held again before the timeout since the first release has passed.
    Watching twice;
    EXPECT_FALSE(twice.Hold());
    EXPECT_FALSE(twice.Idle());
    EXPECT_FALSE(twice.Release());
    EXPECT_FALSE(twice.Hold());
    EXPECT_FALSE(twice.TimeoutPasses()); // from the first release: stale
    EXPECT_FALSE(twice.Release());
    EXPECT_TRUE(twice.TimeoutPasses());

    // Released while the user is here: the idle source counts as usual.
    Watching present;
    EXPECT_FALSE(present.Hold());
    EXPECT_FALSE(present.Release());
    EXPECT_FALSE(present.TimeoutPasses());
    EXPECT_TRUE(present.Idle());
}

// Every source is heard on its own and combined here: the saver waits until the last holder
// lets go, a lock ends it once however many locks there are, and an idle signal that goes ends
// the watcher for its service manager to restart.
TEST(IdleWatch, TheSourcesAreCombinedByTheirRoles) {
    Watching starts;
    EXPECT_FALSE(starts.Hold(Role::InhibitService));
    EXPECT_FALSE(starts.Hold(Role::PlasmaAgent));
    EXPECT_FALSE(starts.Idle());
    EXPECT_FALSE(starts.Release(Role::InhibitService));
    EXPECT_FALSE(starts.TimeoutPasses());                      // the agent still holds it off
    EXPECT_FALSE(starts.After(Role::PlasmaAgent, Edge::Gone)); // a service gone holds nothing
    EXPECT_TRUE(starts.TimeoutPasses());

    EXPECT_FALSE(starts.Lock(Role::LoginSession));
    EXPECT_TRUE(starts.last.endSaver);
    EXPECT_FALSE(starts.Lock(Role::SystemSleep)); // locked and asleep: still one lock
    EXPECT_FALSE(starts.last.endSaver);
    EXPECT_FALSE(starts.Unlock(Role::LoginSession));
    EXPECT_FALSE(starts.SaverEnded());
    EXPECT_FALSE(starts.Back());
    EXPECT_FALSE(starts.Idle()); // still asleep
    EXPECT_FALSE(starts.Unlock(Role::SystemSleep));

    EXPECT_FALSE(starts.After(Role::IdleSignal, Edge::Gone));
    EXPECT_EQ(starts.last.endWatcher, ui::idle::SessionLost);
}
