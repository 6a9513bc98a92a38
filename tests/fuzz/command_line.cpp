// The command line the display settings start the program with: the mode switch and the
// preview pane's number, whatever the text.

#include "startup/CommandLine.h"

#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const modMain::Mode mode = modMain::ModeOf(text);
    if (text.empty() && mode != modMain::Mode::Setup)
        std::abort();
    const auto pane = modMain::PreviewWindowNumber(text);
    // A number of the signed range after one separator reads as itself.
    if (text.size() > 3 && text.find_first_not_of("0123456789", 3) == std::string::npos &&
        text.size() < 12) {
        const long long value = std::atoll(text.c_str() + 3);
        if (value <= 2147483647LL && (!pane || *pane != value))
            std::abort();
    }
    return 0;
}
