// Playback of a compressed file through the decode stream, with the device's
// notices reaching the window late and several at a time, as a busy window
// (or Wine at a stream's start) gets them: every decoded block is handed to
// the device once, in file order, then the silence after the last.
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <utility>
#include <vector>

#include "resources/ResourceIds.h"
#include "tests/fakes/FakeAcm.h"
#include "tests/recorder/CaptureWindowFixture.h"

namespace {

// 8000 Hz mono IMA ADPCM: a playback block reads 768 bytes (three codec
// blocks), which the fake codec decodes into 3030 bytes of 16-bit PCM, each
// byte its source byte ^ 0x5A; one codec block alone decodes into 1010.
constexpr uint32_t kReadBytes = 768;
constexpr size_t kDecodedBytes = 3030;
constexpr size_t kLastDecodedBytes = 1010;
constexpr int kBlocks = 20;
constexpr size_t kEndSilenceBytes = 8000;

using Runs = std::vector<std::pair<int, size_t>>;  // byte value, how many in a row

Runs RunsOf(const std::vector<char>& bytes)
{
    Runs runs;
    for (char c : bytes) {
        const int value = static_cast<unsigned char>(c);
        if (runs.empty() || runs.back().first != value)
            runs.push_back({value, 0});
        ++runs.back().second;
    }
    return runs;
}

std::string TextOf(const Runs& runs)
{
    std::ostringstream text;
    for (const auto& [value, count] : runs)
        text << value << "x" << count << " ";
    return text.str();
}

class CodecPlayTest : public CaptureWindowTest {
protected:
    void SetUp() override
    {
        SetAcm(&acm);  // before the window: its stream binds to the service
        CaptureWindowTest::SetUp();
        AppState.CodecsAvailable = true;
        path = TempWavePath("play_codec_test.wav");
        const FakeAcmFormat adpcm = FakeAcm::ImaAdpcmFormat(1, 8000);
        dialog->FileFormat.Assign(*adpcm.format.Get());
        dialog->CaptureFormat = PcmFormat(1, 8000, 16);
        dialog->CurrentFile =
            std::make_unique<WaveFile>(path.c_str(), adpcm.format.Get(), MMIO_CREATE | MMIO_READWRITE);
        ASSERT_TRUE(dialog->CurrentFile->Open());
        // Block b of the file is all b + 1; one codec block more at the end.
        std::vector<char> data;
        for (int b = 0; b < kBlocks; ++b)
            data.insert(data.end(), kReadBytes, char(b + 1));
        data.insert(data.end(), 256, char(kBlocks + 1));
        ASSERT_EQ(int32_t(data.size()), dialog->CurrentFile->Write(data.data(), uint32_t(data.size())));
        ASSERT_TRUE(dialog->CurrentFile->Update());
    }
    void TearDown() override
    {
        dialog->CurrentFile.reset();
        CaptureWindowTest::TearDown();
        SetAcm(nullptr);
        DeleteFileA(path.c_str());
    }
    // Plays the file from its start; before the window hears of anything,
    // the device finishes burst() buffers. The restart timer fires whenever
    // it is armed.
    template <class Burst>
    Runs PlayInBursts(Burst burst)
    {
        waves.played.clear();
        dialog->Position(0, true);
        Send(WM_COMMAND, CM_PLAY);
        for (int k = 0; k < 400 && dialog->hWaveOut.IsOpen(); ++k) {
            if (dialog->armedTimers.count(TIMER_PLAYSTART))
                dialog->EvTimer(TIMER_PLAYSTART);
            waves.Ticks(burst());
            Pump();
        }
        EXPECT_FALSE(dialog->hWaveOut.IsOpen());
        return RunsOf(waves.played);
    }

    FakeAcm acm;
    std::string path;
};

TEST_F(CodecPlayTest, LateNoticesInBurstsPlayEveryBlockOnceInOrder)
{
    Runs expected;
    for (int b = 0; b < kBlocks; ++b)
        expected.push_back({(b + 1) ^ 0x5A, kDecodedBytes});
    expected.push_back({(kBlocks + 1) ^ 0x5A, kLastDecodedBytes});
    expected.push_back({0, kEndSilenceBytes});
    // One burst at the start, then one buffer a notice; then bursts of a
    // fixed size; then random bursts of one to four.
    for (int first : {2, 3, 5}) {
        SCOPED_TRACE(first);
        int k = 0;
        const Runs heard = PlayInBursts([&] { return k++ == 0 ? first : 1; });
        EXPECT_EQ(expected, heard) << TextOf(heard);
    }
    for (int size : {2, 3, 5}) {
        SCOPED_TRACE(size);
        const Runs heard = PlayInBursts([&] { return size; });
        EXPECT_EQ(expected, heard) << TextOf(heard);
    }
    for (unsigned seed = 1; seed <= 8; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        const Runs heard = PlayInBursts([&] { return 1 + int(random() % 4); });
        EXPECT_EQ(expected, heard) << TextOf(heard);
    }
    EXPECT_TRUE(ui.messageBoxes.empty());
}

}  // namespace
