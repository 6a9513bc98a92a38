#include "startup/SaverStarts.h"

namespace modMain {

using ui::idle::Decision;
using ui::idle::Edge;
using ui::idle::Role;

Decision SaverStarts::After(Role from, Edge edge, ui::idle::Clock::time_point now) {
    Decision decision;
    const bool held = holding_.any(), locked = locking_.any();
    switch (edge) {
    case Edge::Idle:
        away_ = idle_ = true;
        break;
    case Edge::Back:
        away_ = idle_ = false;
        startedWhileIdle_ = false;
        break;
    case Edge::Inhibited:
        holding_.set(Bit(from));
        break;
    case Edge::Released:
        holding_.reset(Bit(from));
        break;
    case Edge::Locked:
        locking_.set(Bit(from));
        break;
    case Edge::Unlocked:
        locking_.reset(Bit(from));
        break;
    case Edge::Gone:
        if (from == Role::Saver) {
            running_ = false;
        } else if (from == Role::IdleSignal) {
            decision.endWatcher = ui::idle::SessionLost;
            return decision;
        } else { // a service that goes holds nothing
            holding_.reset(Bit(from));
            locking_.reset(Bit(from));
        }
        break;
    }
    if (!held && holding_.any()) {
        released_.reset();
    } else if (held && holding_.none()) {
        // The end of a film is no time away: the viewer gets the whole timeout from there.
        idle_ = false;
        released_ = now + timeout_;
    }
    if (!locked && locking_.any()) {
        decision.endSaver = true; // the lock screen wins
    } else if (locked && locking_.none() && away_) {
        // The lock took this time away's turn: the saver waits for the user to come back.
        startedWhileIdle_ = true;
    }
    return Decide(decision);
}

Decision SaverStarts::At(ui::idle::Clock::time_point now) {
    if (!released_ || now < *released_)
        return {};
    released_.reset();
    idle_ = away_;
    return Decide({});
}

Decision SaverStarts::Decide(Decision decision) {
    if (idle_ && holding_.none() && locking_.none() && !running_ && !startedWhileIdle_) {
        running_ = startedWhileIdle_ = true;
        decision.startSaver = true;
    }
    return decision;
}

} // namespace modMain
