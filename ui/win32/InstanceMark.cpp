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

InstanceMark::InstanceMark(Of holders) : handle_(std::make_unique<Handle>()) {
    handle_->mutex = CreateMutexW(nullptr, FALSE,
                                  holders == Of::Saver ? L"Local\\Quillon.Moondial.Instance"
                                                       : L"Local\\Quillon.Moondial.IdleWatch");
    // Denied access means another user's process made it: another instance runs all the same.
    const DWORD error = GetLastError();
    handle_->held = error != ERROR_ALREADY_EXISTS && error != ERROR_ACCESS_DENIED;
}

InstanceMark::~InstanceMark() = default;

bool InstanceMark::Held() const {
    return handle_->held;
}

} // namespace ui
