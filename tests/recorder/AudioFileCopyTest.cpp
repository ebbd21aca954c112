#include "recorder/files/AudioFileCopy.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "recorder/files/SavePlan.h"
#include "tests/recorder/FilesTestFolder.h"

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(AudioFileCopyTest, CopiesInBlocksWithPercentagesFromZero) {
    FilesTestFolder folder;
    const struct {
        size_t bytes;
        std::vector<int> percents;
    } cases[] = {
        {1, {0}},
        {0, {}},
        {1000000, {0, 45, 90}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        ASSERT_TRUE(FilesTestFolder::WriteFile(folder / "in.wav", c.bytes));
        std::vector<int> seen;
        const auto outcome = CopyAudioFile(folder / "in.wav", folder / "out.wav", [&](int p) {
            seen.push_back(p);
            return true;
        });
        EXPECT_EQ(outcome, CopyOutcome::Done);
        EXPECT_EQ(seen, c.percents);
        EXPECT_EQ(ReadAll(folder / "out.wav"), ReadAll(folder / "in.wav"));
    }
    EXPECT_EQ(CopyPercent(0, 0), 100);
}

}  // namespace
