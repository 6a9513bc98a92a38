#include "ui/Wakeup.h"

#include "ui/win32/Handles.h"
#include "ui/win32/LastError.h"

#include <deque>
#include <unordered_map>

namespace ui {

namespace {

LRESULT CALLBACK WakeupProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

constexpr UINT Posted = WM_APP + 1;

// A message-only window that receives the system timers' ticks and the posted calls. Ids are
// never reused, so a tick still queued for a wakeup that is gone finds nothing.
class WakeupWindow {
public:
    WakeupWindow() : window_(L"MoondialTimers", WakeupProcedure) {}
    WakeupWindow(const WakeupWindow&) = delete;
    WakeupWindow& operator=(const WakeupWindow&) = delete;

    HWND Get() const { return window_.Get(); }
    UINT_PTR Add(Wakeup::Impl& wakeup) {
        wakeups_[++last_] = &wakeup;
        return last_;
    }
    void Remove(UINT_PTR id) { wakeups_.erase(id); }
    Wakeup::Impl* Find(UINT_PTR id) const {
        const auto found = wakeups_.find(id);
        return found == wakeups_.end() ? nullptr : found->second;
    }

    void Post(std::function<void()> call) {
        calls_.push_back(std::move(call));
        if (!PostMessageW(window_.Get(), Posted, 0, 0))
            win32::FailLastError();
    }
    void RunPosted() {
        if (calls_.empty())
            return;
        const auto call = std::move(calls_.front()); // the call may post again
        calls_.pop_front();
        call();
    }

private:
    win32::MessageWindow window_;
    std::unordered_map<UINT_PTR, Wakeup::Impl*> wakeups_;
    std::deque<std::function<void()>> calls_;
    UINT_PTR last_ = 0;
};

WakeupWindow& Window() {
    static WakeupWindow window;
    return window;
}

} // namespace

struct Wakeup::Impl {
    explicit Impl(std::function<void()> call) : tick(std::move(call)), id(Window().Add(*this)) {}
    ~Impl() {
        Stop();
        Window().Remove(id);
    }
    void Start(int milliseconds) {
        if (!SetTimer(Window().Get(), id, static_cast<UINT>(milliseconds), nullptr))
            win32::FailLastError();
        running = true;
    }
    void Stop() {
        if (running)
            KillTimer(Window().Get(), id);
        running = false;
    }
    std::function<void()> tick;
    UINT_PTR id;
    bool running = false;
};

namespace {

LRESULT CALLBACK WakeupProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER) {
        if (Wakeup::Impl* wakeup = Window().Find(wParam); wakeup && wakeup->running)
            wakeup->tick();
        return 0;
    }
    if (message == Posted) {
        Window().RunPosted();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

Wakeup::Wakeup(std::function<void()> tick) : impl_(std::make_unique<Impl>(std::move(tick))) {}
Wakeup::~Wakeup() = default;

void Wakeup::Start(int period) {
    impl_->Start(period);
}

void Wakeup::Stop() {
    impl_->Stop();
}

void PostToLoop(std::function<void()> call) {
    Window().Post(std::move(call));
}

std::chrono::steady_clock::time_point SteadyNow() {
    return std::chrono::steady_clock::now();
}

} // namespace ui
