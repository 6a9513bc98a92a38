// The header scan beside Qt's own readers of a picture's size: any bytes that a reader takes
// for a bitmap, GIF, JPEG or PNG must be taken by the scan for the same kind, at no smaller a
// size; otherwise it aborts with what the two saw.

#include "support/HeaderDifferential.h"

#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("QT_LOGGING_RULES", "qt.gui.imageio*=false", 1);
    static QGuiApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string disagreement = testing_support::HeaderDisagreement(data, size);
    if (!disagreement.empty()) {
        std::fprintf(stderr, "%s\n", disagreement.c_str());
        std::abort();
    }
    return 0;
}
