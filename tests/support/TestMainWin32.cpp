// The tests run in a Wine prefix of their own (tests/e2e/wine-run.sh), so the registry they
// write is theirs.

#include "ui/Outside.h"

#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // A test that ended the process for real would pass unseen, with what follows untested.
    ui::World().EndProcess = [] {
        std::fputs("A test ended the process without a stand-in for the end.\n", stderr);
        std::abort();
    };
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
