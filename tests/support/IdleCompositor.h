#pragma once
// A stand-in Wayland compositor for the idle watcher's Wayland client: a seat, and the idle
// protocols and xdg-activation as asked, on a thread of its own (the client's round trips
// block the test's thread). Its socket lies in XDG_RUNTIME_DIR.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tests {

class IdleCompositor {
public:
    struct Offers {
        bool extIdleNotify = false;
        bool kdeIdle = false;
        bool activation = false;
    };
    explicit IdleCompositor(Offers offers);
    ~IdleCompositor();
    IdleCompositor(const IdleCompositor&) = delete;
    IdleCompositor& operator=(const IdleCompositor&) = delete;

    const std::string& Socket() const;
    // What clients asked for so far: the idle timeouts per protocol, the tokens' app ids.
    std::vector<std::uint32_t> ExtTimeouts() const;
    std::vector<std::uint32_t> KdeTimeouts() const;
    std::vector<std::string> TokenAppIds() const;
    // Tells every notification of either protocol that the seat is idle, or back.
    void Idle();
    void Resume();
    // Disconnects every client, as a compositor that ends does.
    void DropClients();

private:
    struct State;
    std::unique_ptr<State> state;
};

} // namespace tests
