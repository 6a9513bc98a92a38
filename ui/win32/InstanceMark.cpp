#include "ui/InstanceMark.h"

#include <windows.h>

namespace ui {

// A named mutex in the user's session; the system closes it with the process.
struct InstanceMark::Handle {
    HANDLE mutex = nullptr;
    bool held = false;
    ~Handle() {
        if (mutex)
            CloseHandle(mutex);
    }
};

InstanceMark::InstanceMark() : handle_(std::make_unique<Handle>()) {
    handle_->mutex = CreateMutexW(nullptr, FALSE, L"Local\\Quillon.Moondial.Instance");
    handle_->held = GetLastError() != ERROR_ALREADY_EXISTS;
}

InstanceMark::~InstanceMark() = default;

bool InstanceMark::Held() const {
    return handle_->held;
}

} // namespace ui
