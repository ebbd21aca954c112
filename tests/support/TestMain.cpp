// Entry point of every test binary. Tests run under Wine; they must never
// block on a dialog, so the interaction seam stays on its scripted fake.
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
