// Entry point of every test binary. Tests run under Wine; they must never
// block on a dialog, so the interaction seam stays on its scripted fake.
#include <gtest/gtest.h>

#include "tests/fakes/FakeUserInteraction.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // A test that forgets to script an answer gets the fake's defaults
    // instead of a message box nobody can press.
    FakeUserInteraction fallback;
    SetUi(&fallback);
    return RUN_ALL_TESTS();
}
