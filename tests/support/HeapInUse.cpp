#include "support/HeapInUse.h"

#if defined(_WIN32)
// clang-format off
#include <windows.h>
#include <psapi.h> // after windows.h, which it needs
// clang-format on
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MOONDIAL_ASAN 1
#include <sanitizer/allocator_interface.h>
#endif
#endif
#if !defined(_WIN32) && !defined(MOONDIAL_ASAN)
#include <malloc.h>
#endif

namespace testing_support {

std::int64_t HeapInUse() {
#if defined(_WIN32)
    // The process's committed private memory: heaps, and whatever a system library allocates.
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof counters);
    return static_cast<std::int64_t>(counters.PrivateUsage);
#elif defined(MOONDIAL_ASAN)
    return static_cast<std::int64_t>(__sanitizer_get_current_allocated_bytes());
#else
    const struct mallinfo2 info = mallinfo2();
    return static_cast<std::int64_t>(info.uordblks + info.hblkhd);
#endif
}

} // namespace testing_support
