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

}  // namespace
