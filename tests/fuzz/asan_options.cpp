// AddressSanitizer's defaults for every fuzz target, so that a run by hand behaves as the
// script's. By default it holds back 256 MB of freed blocks to catch their later use, and keeps
// each size class's pages for ever: a target that decodes a picture of up to 128 MB now and
// then climbs in steps to over 600 MB with nothing kept. A smaller quarantine, still many
// times one input's allocations, and pages given back to the system keep a run near 140 MB.

extern "C" const char* __asan_default_options() {
    return "quarantine_size_mb=64:allocator_release_to_os_interval_ms=500";
}
