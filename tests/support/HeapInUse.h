#pragma once
// The bytes the process's heap holds for it right now: what a load that keeps something leaves
// behind. Freed blocks a sanitizer holds back from reuse, and pages the allocator keeps for the
// next allocation, are not counted, so the figure moves only with what is really kept.

#include <cstdint>

namespace testing_support {

std::int64_t HeapInUse();

} // namespace testing_support
