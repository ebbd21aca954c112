// Whole-file images through the real Windows clipboard (Wine's, under Xvfb),
// owned by a hidden window: round trips byte for byte, the format of each
// type, the private clipboard that leaves the Windows clipboard alone,
// cancelled and refused transfers, and a large image.
#include "recorder/clipboard/ClipboardExchange.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "core/AppState.h"
#include "audiofile/Mp3File.h"
#include "recorder/files/FileFactory.h"
#include "tests/recorder/FilesTestFolder.h"
#include "framework/Clipboard.h"

namespace {

std::vector<char> Pattern(size_t bytes) {
    std::vector<char> data(bytes);
    for (size_t i = 0; i < bytes; ++i)
        data[i] = static_cast<char>((i * 131 + i / 7) & 0xFF);
    return data;
}

bool WriteBytes(const std::string& path, const std::vector<char>& data) {
    std::ofstream out(path, std::ios::binary);
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
    return static_cast<bool>(out);
}

std::vector<char> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Records every step; cancels at the step numbered cancelAt.
class ScriptedProgress : public TransferProgress {
public:
    int cancelAt = -1;
    std::vector<int> percents;
    std::vector<std::string> titles;
    int ends = 0;
    void Begin(const TransferTexts& texts) override { titles.push_back(texts.dialogTitle); }
    bool Step(int percent) override {
        percents.push_back(percent);
        return static_cast<int>(percents.size()) - 1 != cancelAt;
    }
    void End() override { ++ends; }
};

class ClipboardExchangeTest : public ::testing::Test {
protected:
    void SetUp() override {
        AppState.Reset();
        AppState.UseWinClip = true;
        owner = CreateWindowExA(0, "STATIC", "clipboard owner", WS_POPUP, 0, 0, 10, 10, nullptr,
                                nullptr, nullptr, nullptr);
        ASSERT_TRUE(owner);
        ClearClipboard();
    }
    void TearDown() override {
        PasteBuffer.reset();
        Mp3File::EnableTag(true);
        ClearClipboard();
        DestroyWindow(owner);
        AppState.Reset();
    }
    void ClearClipboard() {
        ASSERT_TRUE(OpenClipboardPatiently(owner));
        EmptyClipboard();
        CloseClipboard();
    }
    void PutText(const char* text) {
        ASSERT_TRUE(OpenClipboardPatiently(owner));
        EmptyClipboard();
        const size_t bytes = std::strlen(text) + 1;
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
        std::memcpy(GlobalLock(block), text, bytes);
        GlobalUnlock(block);
        ASSERT_TRUE(SetClipboardData(CF_TEXT, block));
        CloseClipboard();
    }
    std::string Text() {
        std::string text;
        if (!OpenClipboardPatiently(owner))
            return "(closed)";
        if (HANDLE block = GetClipboardData(CF_TEXT)) {
            text = static_cast<const char*>(GlobalLock(block));
            GlobalUnlock(block);
        }
        CloseClipboard();
        return text;
    }
    ClipboardExchange Exchange() { return ClipboardExchange(owner, progress); }

    FilesTestFolder folder;
    HWND owner = nullptr;
    ScriptedProgress progress;
};

TEST_F(ClipboardExchangeTest, WaveImageGoesThereAndBackByteForByte) {
    const std::vector<char> image = Pattern(2 * kClipboardChunkBytes + 12345);
    ASSERT_TRUE(WriteBytes(folder / "in.wav", image));
    // Read-only on disk: reading it needs no write access.
    SetFileAttributesA((folder / "in.wav").c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(Exchange().PutOnClipboard(folder / "in.wav"));
    SetFileAttributesA((folder / "in.wav").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(progress.percents, (std::vector<int>{0, 49, 99}));
    EXPECT_EQ(progress.ends, 1);
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_WAVE));
    EXPECT_TRUE(Exchange().ClipboardHasAudio(0));
    EXPECT_TRUE(Exchange().ClipboardHasAudio(-1));

    EXPECT_TRUE(Exchange().GetFromClipboard(folder / "out.wav"));
    EXPECT_EQ(ReadBytes(folder / "out.wav"), image);
    EXPECT_EQ(progress.titles,
              (std::vector<std::string>{"Copying audio to clipboard...", "Copying clipboard audio to disk..."}));
    EXPECT_EQ(Exchange().SaveClipboardAs(folder / "saved.wav", ftWav), kClipboardSaved);
    EXPECT_EQ(ReadBytes(folder / "saved.wav"), image);
}

TEST_F(ClipboardExchangeTest, EachTypeHasItsFormatAndANewImageReplacesTheOld) {
    ASSERT_TRUE(WriteBytes(folder / "a.mp3", Pattern(100)));
    ASSERT_TRUE(Exchange().PutOnClipboard(folder / "a.mp3"));
    EXPECT_TRUE(IsClipboardFormatAvailable(RegisterClipboardFormatA("mp3")));
    EXPECT_TRUE(Exchange().ClipboardHasAudio(1));
    EXPECT_FALSE(Exchange().ClipboardHasAudio(0));
    EXPECT_TRUE(Exchange().ClipboardHasAudio(-1));
    for (int type : {2, 4, 7}) {
        SCOPED_TRACE(type);
        EXPECT_FALSE(Exchange().ClipboardHasAudio(type));
    }
    EXPECT_EQ(Exchange().SaveClipboardAs(folder / "x.wav", ftWav), kClipboardNoAudio);
    EXPECT_FALSE(PathExists(folder / "x.wav"));

    // A Speex file has no format of its own; the MP3 image must not stay
    // beside it, or a paste into an MP3 recording would take the old one.
    ASSERT_TRUE(WriteBytes(folder / "b.spx", Pattern(50)));
    ASSERT_TRUE(Exchange().PutOnClipboard(folder / "b.spx"));
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_WAVE));
    EXPECT_FALSE(IsClipboardFormatAvailable(RegisterClipboardFormatA("mp3")));
    EXPECT_FALSE(Exchange().ClipboardHasAudio(1));

    ASSERT_TRUE(WriteBytes(folder / "c.ogg", Pattern(70)));
    ASSERT_TRUE(Exchange().PutOnClipboard(folder / "c.ogg"));
    EXPECT_TRUE(Exchange().ClipboardHasAudio(3));
    EXPECT_FALSE(Exchange().ClipboardHasAudio(0));
    EXPECT_TRUE(Exchange().GetFromClipboard(folder / "d.ogg"));
    EXPECT_EQ(ReadBytes(folder / "d.ogg"), Pattern(70));
}

TEST_F(ClipboardExchangeTest, NothingToGetLeavesFilesAlone) {
    PutText("sentinel");
    ASSERT_TRUE(WriteBytes(folder / "kept.wav", Pattern(10)));
    EXPECT_FALSE(Exchange().GetFromClipboard(folder / "kept.wav"));
    EXPECT_EQ(ReadBytes(folder / "kept.wav"), Pattern(10));  // not emptied
    EXPECT_FALSE(Exchange().GetFromClipboard(folder / "new.wav"));
    EXPECT_FALSE(PathExists(folder / "new.wav"));
    EXPECT_FALSE(Exchange().PutOnClipboard(folder / "missing.wav"));
    EXPECT_EQ(Text(), "sentinel");
}

TEST_F(ClipboardExchangeTest, CancelledAndRefusedTransfers) {
    const std::vector<char> image = Pattern(kClipboardChunkBytes + 1);
    ASSERT_TRUE(WriteBytes(folder / "in.wav", image));
    PutText("sentinel");
    progress.cancelAt = 1;
    EXPECT_FALSE(Exchange().PutOnClipboard(folder / "in.wav"));
    EXPECT_EQ(Text(), "sentinel");  // a cancelled put changes nothing
    EXPECT_EQ(progress.ends, 1);

    progress = ScriptedProgress();
    ASSERT_TRUE(Exchange().PutOnClipboard(folder / "in.wav"));
    progress.percents.clear();
    progress.cancelAt = 1;
    EXPECT_FALSE(Exchange().GetFromClipboard(folder / "part.wav"));
    EXPECT_EQ(FileSize(folder / "part.wav"), kClipboardChunkBytes);  // what was written stays

    uint64_t asked = 0;
    ClipboardExchange full(owner, progress, [&](uint64_t bytes) {
        asked = bytes;
        return false;
    });
    EXPECT_FALSE(full.GetFromClipboard(folder / "full.wav"));
    EXPECT_EQ(asked, image.size());
    EXPECT_FALSE(PathExists(folder / "full.wav"));
}

// Wine's clipboard takes no block of size 0: an empty file is refused and
// the clipboard keeps what it had.
TEST_F(ClipboardExchangeTest, EmptyFileIsRefused) {
    PutText("sentinel");
    ASSERT_TRUE(WriteBytes(folder / "empty.wav", {}));
    EXPECT_FALSE(Exchange().PutOnClipboard(folder / "empty.wav"));
    EXPECT_TRUE(progress.percents.empty());
    EXPECT_EQ(Text(), "sentinel");
}

TEST_F(ClipboardExchangeTest, PrivateClipboardUsesOnlyThePasteBuffer) {
    PutText("sentinel");
    AppState.UseWinClip = false;
    for (int type : {-1, 0, 1, 3}) {
        SCOPED_TRACE(type);
        EXPECT_FALSE(Exchange().ClipboardHasAudio(type));
    }
    EXPECT_EQ(Exchange().SaveClipboardAs(folder / "none.wav", ftWav), kClipboardNoPasteBuffer);

    // A paste buffer as a cut leaves it: a temporary WAV file with audio.
    WAVEFORMATEX format{WAVE_FORMAT_PCM, 1, 8000, 16000, 2, 16, 0};
    PasteBuffer = CreateFileObject((folder / "~rec_1.wav").c_str(), &format,
                                   MMIO_CREATE | MMIO_READWRITE, ftWav);
    ASSERT_TRUE(PasteBuffer && PasteBuffer->IsOpen());
    PasteBuffer->SetTemporary(true);
    const std::vector<char> audio = Pattern(4000);
    ASSERT_EQ(PasteBuffer->Write(audio.data(), 4000), 4000);
    ASSERT_TRUE(PasteBuffer->Position(0));
    EXPECT_TRUE(Exchange().ClipboardHasAudio(0));
    EXPECT_TRUE(Exchange().ClipboardHasAudio(-1));
    EXPECT_FALSE(Exchange().ClipboardHasAudio(1));

    for (const char* name : {"first.wav", "second.wav"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(Exchange().SaveClipboardAs(folder / name, ftMp3), kClipboardSaved);
        EXPECT_EQ(ReadBytes(folder / name), ReadBytes(folder / "~rec_1.wav"));
        // Still open where it was, still temporary: a later paste reads it.
        ASSERT_TRUE(PasteBuffer->IsOpen());
        EXPECT_TRUE(PasteBuffer->IsTemporary());
        std::vector<char> back(4000);
        ASSERT_EQ(PasteBuffer->Read(back.data(), 4000), 4000);
        EXPECT_EQ(back, audio);
        ASSERT_TRUE(PasteBuffer->Position(0));
    }
    EXPECT_EQ(Exchange().SaveClipboardAs(folder / "no\\such\\folder.wav", ftWav), kClipboardNotWritten);
    EXPECT_EQ(Text(), "sentinel");
}

// Paste to File from a paste buffer that keeps its annotations in its
// journal (an MP3 with tags off): the journal goes with the copy.
TEST_F(ClipboardExchangeTest, PasteBufferCopyTakesItsJournal) {
    AppState.UseWinClip = false;
    Mp3File::EnableTag(false);
    const std::string buffer = folder / "~rec_2.mp3";
    ASSERT_TRUE(FilesTestFolder::WriteMp3Frames(buffer));
    PasteBuffer = CreateFileObject(buffer.c_str(), nullptr, MMIO_READWRITE, ftMp3);
    ASSERT_TRUE(PasteBuffer && PasteBuffer->IsOpen());
    PasteBuffer->SetTemporary(true);
    PasteBuffer->AddComment("kept", 0, 0);
    ASSERT_EQ(Exchange().SaveClipboardAs(folder / "pasted.mp3", ftMp3), kClipboardSaved);
    Mp3File pasted((folder / "pasted.mp3").c_str(), nullptr, MMIO_READ);
    ASSERT_TRUE(pasted.Open());
    ASSERT_EQ(pasted.CommentCount(), 1);
    EXPECT_EQ(pasted.GetCommentText(0), "kept");
}

TEST_F(ClipboardExchangeTest, HundredMegabytesGoThereAndBack) {
    const size_t bytes = 100u * 1024 * 1024;
    std::vector<char> image = Pattern(bytes);
    ASSERT_TRUE(WriteBytes(folder / "big.wav", image));
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(Exchange().PutOnClipboard(folder / "big.wav"));
    const auto put = std::chrono::steady_clock::now();
    ASSERT_TRUE(Exchange().GetFromClipboard(folder / "back.wav"));
    const auto got = std::chrono::steady_clock::now();
    const auto ms = [](auto a, auto b) {
        return std::chrono::duration_cast<std::chrono::milliseconds>(b - a).count();
    };
    std::printf("100 MB to the clipboard %lld ms, back to a file %lld ms\n",
                static_cast<long long>(ms(start, put)), static_cast<long long>(ms(put, got)));
    EXPECT_EQ(progress.percents.size(), 2 * ((bytes + kClipboardChunkBytes - 1) / kClipboardChunkBytes));
    EXPECT_EQ(ReadBytes(folder / "back.wav") == image, true);
    ClearClipboard();
}

}  // namespace
