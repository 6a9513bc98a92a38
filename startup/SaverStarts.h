#pragma once
// When the idle watcher starts the saver: once the user has been idle for the timeout, no
// application holds it off, the session is not locked or asleep and none of ours runs; once per
// time away, so a saver that ends by itself (another one already runs, say) is not started
// again until the user has come back, nor one after an unlock until the user has been away
// again. After the last application lets go, the timeout counts again from the release. Every
// source's news is combined here and nowhere else.

#include "ui/Idle.h"

#include <bitset>
#include <chrono>
#include <optional>

namespace modMain {

class SaverStarts final : public ui::idle::Policy {
public:
    explicit SaverStarts(std::chrono::milliseconds timeout) : timeout_(timeout) {}

    ui::idle::Decision After(ui::idle::Role from, ui::idle::Edge edge,
                             ui::idle::Clock::time_point now) override;
    ui::idle::Decision At(ui::idle::Clock::time_point now) override;
    std::optional<ui::idle::Clock::time_point> Deadline() const override { return released_; }

private:
    using Roles = std::bitset<8>;
    static std::size_t Bit(ui::idle::Role source) { return static_cast<std::size_t>(source); }
    ui::idle::Decision Decide(ui::idle::Decision decision);

    std::chrono::milliseconds timeout_;
    Roles holding_;     // the sources holding the saver off
    Roles locking_;     // the sources locking the session
    bool away_ = false; // from the idle signal's Idle to its Back
    bool idle_ = false; // away for the timeout since the last input and the last release
    bool running_ = false;
    bool startedWhileIdle_ = false;
    // While no application holds it off after one did: when the timeout from the release ends.
    std::optional<ui::idle::Clock::time_point> released_;
};

} // namespace modMain
