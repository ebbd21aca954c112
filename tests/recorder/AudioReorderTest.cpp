// Re-ordering looped WAV recordings made in a scratch folder that is also the
// temporary folder. Each byte of a recording tells its lap and its unit, so
// the order of the result shows where every part came from.
#include "recorder/editing/AudioReorder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/AppState.h"
#include "audiofile/WaveFile.h"
#include "tests/audiofile/WaveTestSupport.h"
#include "tests/recorder/FilesTestFolder.h"

namespace {

constexpr uint32_t kCreate = MMIO_CREATE | MMIO_READWRITE;
// One unit is a second of the 8-bit mono 4096 Hz test format.
constexpr uint32_t kUnit = 4096;
constexpr int64_t kLapOneClock = 1700000000;
constexpr int64_t kLapOneLater = 1700000100;
constexpr int64_t kLapTwoClock = 1700000200;

char UnitByte(int lap, uint32_t unit) { return static_cast<char>(lap << 4 | unit); }

// The units [from, to) of a lap as recorded.
std::string Units(int lap, uint32_t from, uint32_t to, uint32_t unitBytes = kUnit) {
    std::string data;
    for (uint32_t unit = from; unit < to; ++unit)
        data.append(unitBytes, UnitByte(lap, unit));
    return data;
}

// The audio as lap.unit for every whole unit of one byte value ("?" for a
// mixed one, "+N" for a part unit at the end).
std::string Layout(const std::string& audio) {
    std::string out;
    size_t at = 0;
    for (; at + kUnit <= audio.size(); at += kUnit) {
        const unsigned char value = static_cast<unsigned char>(audio[at]);
        const bool whole = audio.find_first_not_of(audio[at], at) >= at + kUnit;
        out += whole ? std::to_string(value >> 4) + "." + std::to_string(value & 15) + " " : "? ";
    }
    if (at < audio.size())
        out += "+" + std::to_string(audio.size() - at);
    return out;
}

std::string ReadLayout(RecFile& file) {
    (void)file.Position(0);
    std::string data(file.GetLength(), '\0');
    const int32_t got = data.empty() ? 0 : file.Read(&data[0], static_cast<uint32_t>(data.size()));
    data.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return Layout(data);
}

// A recording whose reads can fail or come short.
class FlakyWave : public WaveFile {
public:
    using WaveFile::WaveFile;
    std::optional<int32_t> readResult;
    uint32_t readCap = 0;
    int32_t Read(void* data, uint32_t bytes) override {
        if (readResult)
            return *readResult;
        return WaveFile::Read(data, readCap ? std::min(bytes, readCap) : bytes);
    }
};

// Records the captions; cancels once one holds cancelOn.
class ScriptedProgress : public EditProgress {
public:
    std::string cancelOn;
    std::vector<std::string> captions;
    std::vector<int> percents;
    bool cancelled = false;
    void Show(const std::string& caption) override {
        captions.push_back(caption);
        if (!cancelOn.empty() && caption.find(cancelOn) != std::string::npos)
            cancelled = true;
    }
    void SetCaption(const std::string& text) override { captions.push_back(text); }
    bool SetPercent(int percent) override {
        percents.push_back(percent);
        return !cancelled;
    }
    bool IsCancelled() const override { return cancelled; }
    void Close() override {}
};

// Segments as (unit, clock time).
using Segment = std::pair<uint32_t, int64_t>;
std::vector<Segment> Segments(const RecFile& file) {
    std::vector<Segment> out;
    for (const TimeCodeRec& segment : file.TimeCodes())
        out.emplace_back(segment.position / kUnit, segment.timeCode);
    return out;
}

std::vector<std::string> CommentsOf(const RecFile& file) {
    std::vector<std::string> out;
    for (const CommentRec& c : file.Comments())
        out.push_back(c.text + " " + std::to_string(c.start / kUnit) + "-" +
                      (c.end == 0 || c.end == kNoPosition ? std::string("open") : std::to_string(c.end / kUnit)));
    return out;
}

class AudioReorderTest : public ::testing::Test {
protected:
    void SetUp() override {
        AppState.Reset();
        char saved[MAX_PATH] = {};
        GetEnvironmentVariableA("TMP", saved, MAX_PATH);
        savedTmp_ = saved;
        SetEnvironmentVariableA("TMP", (folder.Path() + "\\").c_str());
        format = PcmFormat(1, kUnit, 8);
    }
    void TearDown() override {
        DeleteScratchFile(continuation);
        slot.reset();
        SetEnvironmentVariableA("TMP", savedTmp_.empty() ? nullptr : savedTmp_.c_str());
        AppState.Reset();
    }
    // Laps of these many units, each from the start of the file over the
    // one before, as a looping recording writes them; stopped at the end of
    // the last. wrapPoint is where the last lap began (the one before ended).
    void MakeLooped(const std::vector<uint32_t>& laps, uint32_t unitBytes = kUnit) {
        slot.reset();
        path = folder / "take.wav";
        auto file = std::make_unique<FlakyWave>(path.c_str(), &format, kCreate);
        flaky = file.get();
        ASSERT_TRUE(file->Open());
        for (size_t lap = 0; lap < laps.size(); ++lap) {
            if (lap > 0) {
                file->SetOverwrite(true);
                ASSERT_TRUE(file->Position(0));
                wrapPoint = laps[lap - 1] * unitBytes;
            }
            const std::string data = Units(static_cast<int>(lap + 1), 0, laps[lap], unitBytes);
            ASSERT_EQ(file->Write(data.data(), static_cast<uint32_t>(data.size())),
                      static_cast<int32_t>(data.size()));
        }
        slot = std::move(file);
    }
    // The marks of the lap before the wrap, in a scratch file of the
    // recording's format, as the looping action keeps them.
    void MakeContinuation() {
        continuation = std::make_unique<WaveFile>((folder / "continued.wav").c_str(), &format, kCreate);
        ASSERT_TRUE(continuation->Open());
        continuation->SetTemporary(true);
        continuation->AddTimeCode(0, kLapOneClock);
        continuation->AddTimeCode(5 * kUnit, kLapOneLater);
        continuation->AddComment("spans", 2 * kUnit, 4 * kUnit);
        continuation->AddComment("old", 6 * kUnit, 8 * kUnit);
        continuation->AddComment("last", 9 * kUnit, 0);
    }
    // The looping example: ten units, stopped three into the second lap,
    // with a comment of the second lap over its second unit.
    void MakeExample() {
        MakeLooped({10, 3});
        MakeContinuation();
        slot->AddTimeCode(0, kLapTwoClock);
        slot->AddComment("current", 1 * kUnit, 2 * kUnit);
    }
    int Reorder(const RoomCheck& hasRoom = nullptr) {
        return ReorderWrappedFile(slot, continuation.get(), wrapPoint, progress, hasRoom);
    }
    std::vector<std::string> WavFiles() const {
        std::vector<std::string> names;
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((folder.Path() + "\\*.wav").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            return names;
        do
            names.push_back(found.cFileName);
        while (FindNextFileA(search, &found));
        FindClose(search);
        std::sort(names.begin(), names.end());
        return names;
    }

    FilesTestFolder folder;
    WAVEFORMATEX format{};
    std::unique_ptr<RecFile> slot;
    std::unique_ptr<RecFile> continuation;
    FlakyWave* flaky = nullptr;
    std::string path;
    uint32_t wrapPoint = 0;
    ScriptedProgress progress;

private:
    std::string savedTmp_;
};

TEST_F(AudioReorderTest, LoopedRecordingPlaysOldestFirstWithItsMarks) {
    MakeExample();
    slot->SetTemporary(true);
    flaky->readCap = 1000;  // short reads are written as they come

    EXPECT_EQ(Reorder(), kReorderDone);

    ASSERT_TRUE(slot);
    EXPECT_TRUE(SamePath(slot->GetPath(), path));
    EXPECT_TRUE(slot->IsTemporary());
    EXPECT_FALSE(slot->GetOverwrite());
    EXPECT_EQ(slot->GetPosition(), 10 * kUnit);
    EXPECT_EQ(ReadLayout(*slot), Layout(Units(1, 3, 10) + Units(2, 0, 3)));
    // The older audio starts with the clock time it had three seconds into
    // its segment; the second lap's segment follows it.
    EXPECT_EQ(Segments(*slot),
              (std::vector<Segment>{{0, kLapOneClock + 3}, {2, kLapOneLater}, {7, kLapTwoClock}}));
    EXPECT_EQ(CommentsOf(*slot), (std::vector<std::string>{"spans 0-1", "old 3-5", "last 6-7", "current 8-9"}));
    EXPECT_EQ(progress.captions, (std::vector<std::string>{"Copying audio data 1/2", "Copying audio data 2/2"}));
    EXPECT_EQ(WavFiles(), (std::vector<std::string>{"continued.wav", "take.wav"}));

    EXPECT_EQ(Reorder(), kReorderNotWrapped);  // the flag is off now
}

// A later lap that wrapped earlier than the first leaves the first lap's
// audio past its wrap point: it stays, behind the older lap.
TEST_F(AudioReorderTest, AudioPastTheWrapPointIsKept) {
    MakeLooped({10, 8, 3});
    ASSERT_EQ(wrapPoint, 8 * kUnit);
    EXPECT_EQ(Reorder(), kReorderDone);
    EXPECT_EQ(ReadLayout(*slot), Layout(Units(2, 3, 8) + Units(1, 8, 10) + Units(3, 0, 3)));

    // A lap that went past the one before leaves only the first lap's end.
    MakeLooped({10, 8, 9});
    EXPECT_EQ(Reorder(), kReorderDone);
    EXPECT_EQ(ReadLayout(*slot), Layout(Units(1, 9, 10) + Units(3, 0, 9)));
}

TEST_F(AudioReorderTest, EachChunkReportsTheShareOfItsPassDone) {
    MakeLooped({10, 1}, 100000);  // 900000 bytes of older audio, then 100000
    EXPECT_EQ(Reorder(), kReorderDone);
    EXPECT_EQ(progress.percents, (std::vector<int>{0, 50, 0}));
}

// Whatever stops the re-ordering, the recording stays as recorded, now with
// the marks of the older audio it still holds.
TEST_F(AudioReorderTest, RecordingKeptAsRecordedTakesTheOlderLapsMarks) {
    struct Case {
        const char* cancelOn;
        std::optional<int32_t> readResult;
        bool room;
        int result;
    };
    const Case cases[] = {
        {"1/2", std::nullopt, true, kReorderCancelled},
        {"2/2", std::nullopt, true, kReorderCancelled},
        {"", -1, true, kReorderCopyFailed},
        {"", 0, true, kReorderCopyFailed},
        {"", std::nullopt, false, kReorderNoRoom},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.cancelOn) + " read " + std::to_string(c.readResult.value_or(1)));
        MakeExample();
        slot->AddComment("still open", 2 * kUnit + 100, 0);
        flaky->readResult = c.readResult;
        progress = ScriptedProgress();
        progress.cancelOn = c.cancelOn;
        uint64_t asked = 0;
        const RoomCheck room = [&](uint64_t bytes) {
            asked = bytes;
            return c.room;
        };

        EXPECT_EQ(Reorder(room), c.result);

        EXPECT_EQ(asked, 10 * kUnit);
        ASSERT_TRUE(slot);
        EXPECT_FALSE(slot->GetOverwrite());
        flaky->readResult.reset();
        EXPECT_EQ(ReadLayout(*slot), Layout(Units(2, 0, 3) + Units(1, 3, 10)));
        EXPECT_EQ(Segments(*slot),
                  (std::vector<Segment>{{0, kLapTwoClock}, {3, kLapOneClock + 3}, {5, kLapOneLater}}));
        EXPECT_EQ(CommentsOf(*slot), (std::vector<std::string>{"current 1-2", "still open 2-3", "spans 3-4",
                                                               "old 6-8", "last 9-10"}));
        EXPECT_EQ(WavFiles(), (std::vector<std::string>{"continued.wav", "take.wav"}));
        DeleteScratchFile(continuation);
        slot.reset();
    }
}

}  // namespace
