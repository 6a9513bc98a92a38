// The tests run in a Wine prefix of their own (tests/e2e/wine-run.sh), so the registry they
// write is theirs.

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
