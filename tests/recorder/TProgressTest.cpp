#include "recorder/controls/TProgress.h"

#include <gtest/gtest.h>

#include "tests/recorder/ButtonHost.h"

namespace {

class TProgressTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(host.Create()); }
    HWND CancelButton(const TProgress& progress) const { return GetDlgItem(progress.GetHandle(), IDCANCEL); }
    ButtonHost host;
};

TEST_F(TProgressTest, CancelSetsTheFlagClosesTheWindowAndKeepsTheObject) {
    TProgress progress(&host.Dialog(), "Copying audio data");
    ASSERT_TRUE(progress.Create());
    progress.SetPercent(40);
    EXPECT_FALSE(progress.IsCancelled());
    SendMessageA(progress.GetHandle(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(CancelButton(progress)));
    EXPECT_TRUE(progress.IsCancelled());
    EXPECT_FALSE(progress.IsWindow());
    EXPECT_EQ(nullptr, GetCapture());
    progress.SetPercent(50);  // the operation may report once more before its poll
    EXPECT_TRUE(progress.IsCancelled());
}

TEST_F(TProgressTest, TheCancelButtonHoldsTheMouseWhileTheOperationRuns) {
    TProgress progress(&host.Dialog(), nullptr);
    ASSERT_TRUE(progress.Create());
    EXPECT_EQ(CancelButton(progress), GetCapture());
    EXPECT_EQ("", progress.GetCaption());  // no caption: the resource's empty title
}

TEST_F(TProgressTest, TheGaugeShowsThePercentage) {
    TProgress progress(&host.Dialog(), "Copying audio to clipboard...");
    ASSERT_TRUE(progress.Create());
    EXPECT_EQ("Copying audio to clipboard...", progress.GetCaption());
    const int percents[] = {0, 37, 100};
    for (int percent : percents) {
        SCOPED_TRACE(percent);
        progress.SetPercent(percent);
        EXPECT_EQ(percent, progress.GetPercent());
        EXPECT_EQ(std::to_string(percent) + "%", progress.GaugeText());
    }
}

TEST_F(TProgressTest, ClosingWithoutCancelReleasesTheMouse) {
    {
        TProgress progress(&host.Dialog(), "Copying audio data 1/2");
        ASSERT_TRUE(progress.Create());
    }
    EXPECT_EQ(nullptr, GetCapture());
}

unsigned long long fakeNow = 0;
unsigned long long FakeNow() { return fakeNow; }

// A short operation never shows its dialog; a longer one shows it, with the
// latest caption, from the first step after the delay.
TEST_F(TProgressTest, TheDialogAppearsOnlyAfterTheDelay) {
    fakeNow = 1000;
    DelayedProgress progress(host.Dialog(), &FakeNow);
    progress.Start("Copying audio data 1/3");
    progress.SetCaption(" Copying audio data 1/3 0%");
    EXPECT_FALSE(progress.SetPercent(0));
    fakeNow += kProgressDelayMs - 1;
    EXPECT_FALSE(progress.SetPercent(40));
    EXPECT_FALSE(progress.IsShown());
    fakeNow += 1;
    EXPECT_TRUE(progress.SetPercent(60));
    ASSERT_TRUE(progress.IsShown());
    // Up: a new percentage, or a while, and the caller pumps; not every chunk.
    EXPECT_FALSE(progress.SetPercent(60));
    EXPECT_TRUE(progress.SetPercent(61));
    fakeNow += kProgressPumpMs;
    EXPECT_TRUE(progress.SetPercent(61));
    progress.Close();
    EXPECT_FALSE(progress.IsShown());
    progress.Start("next");  // the clock starts again
    EXPECT_FALSE(progress.SetPercent(0));
}

}  // namespace
