// The edit operations on real WAV and Ogg Vorbis files in a scratch folder
// that is also the temporary folder, so every file an operation leaves
// behind is seen: the cut of the worked example with its comments and
// segment, cancels in each pass, failed reads, read-only refusals, paste
// positions, format checks, a refused replacement and the clipboard round.
#include "recorder/editing/AudioEdit.h"

#include <gtest/gtest.h>

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "core/AppState.h"
#include "audiofile/FileSystem.h"
#include "audiofile/OggVorbisFile.h"
#include "audiofile/WaveFile.h"
#include "tests/audiofile/OggTestSupport.h"
#include "tests/audiofile/WaveTestSupport.h"
#include "tests/recorder/FilesTestFolder.h"

namespace {

constexpr uint32_t kCreate = MMIO_CREATE | MMIO_READWRITE;

std::string Audio(uint32_t bytes, int seed) {
    std::string data(bytes, '\0');
    for (uint32_t i = 0; i < bytes; ++i)
        data[i] = static_cast<char>((i * 7 + seed + i / 251) & 0xFF);
    return data;
}

std::string ReadAudio(RecFile& file) {
    (void)file.Position(0);
    std::string data(file.GetLength(), '\0');
    const int32_t got = data.empty() ? 0 : file.Read(&data[0], static_cast<uint32_t>(data.size()));
    data.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return data;
}

// Records captions; cancels once a caption holds cancelOn.
class ScriptedEditProgress : public EditProgress {
public:
    std::string cancelOn;
    std::vector<std::string> captions;
    bool cancelled = false;
    void Show(const std::string& caption) override { captions.push_back(caption); }
    void SetCaption(const std::string& text) override {
        captions.push_back(text);
        if (!cancelOn.empty() && text.find(cancelOn) != std::string::npos)
            cancelled = true;
    }
    bool SetPercent(int) override { return !cancelled; }
    bool IsCancelled() const override { return cancelled; }
    void Close() override {}
};

// A WAV source whose reads fail.
class FailingReadWave : public WaveFile {
public:
    using WaveFile::WaveFile;
    int reads = 0;
    int32_t Read(void*, uint32_t) override {
        ++reads;
        return -1;
    }
};

class RefusingDelete : public FileSystem {
public:
    std::string refused;
    bool Rename(const std::string& from, const std::string& to) override { return real_.Rename(from, to); }
    bool Delete(const std::string& name) override { return !SamePath(name, refused) && real_.Delete(name); }
    bool Replace(const std::string& from, const std::string& to) override {
        return !SamePath(to, refused) && real_.Replace(from, to);
    }

private:
    FileSystem& real_ = Files();
};

// An Ogg Vorbis file of another encoder set-up: coded at quality 0 but with
// the nominal bit rate of quality 4 in its identification header, so its
// format looks like that of our quality-4 recordings.
bool WriteForeignVorbis(const std::string& path, double seconds) {
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, 2, 44100, 0.0f) != 0)
        return false;
    info.bitrate_nominal = VorbisBitrateFor(4, 44100, 2);
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_block block;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 4711);
    ogg_packet headers[3];
    vorbis_analysis_headerout(&dsp, &comment, &headers[0], &headers[1], &headers[2]);
    for (ogg_packet& header : headers)
        ogg_stream_packetin(&stream, &header);
    FILE* file = std::fopen(path.c_str(), "wb");
    bool ok = file != nullptr;
    ogg_page page;
    const auto writePages = [&](bool flush) {
        while (ok && (flush ? ogg_stream_flush(&stream, &page) : ogg_stream_pageout(&stream, &page)) != 0)
            ok = std::fwrite(page.header, 1, page.header_len, file) == static_cast<size_t>(page.header_len) &&
                 std::fwrite(page.body, 1, page.body_len, file) == static_cast<size_t>(page.body_len);
    };
    writePages(true);
    const std::vector<int16_t> pcm = SineFrames(static_cast<uint32_t>(seconds * 44100), 2, 440, 44100);
    const size_t frames = pcm.size() / 2;
    for (size_t done = 0; ok && done <= frames; done += 1024) {
        const int count = static_cast<int>(std::min<size_t>(1024, frames - done));
        if (count > 0) {
            float** buffer = vorbis_analysis_buffer(&dsp, count);
            for (int i = 0; i < count; ++i)
                for (int channel = 0; channel < 2; ++channel)
                    buffer[channel][i] = pcm[(done + i) * 2 + channel] / 32768.0f;
        }
        vorbis_analysis_wrote(&dsp, count);
        ogg_packet packet;
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            while (vorbis_bitrate_flushpacket(&dsp, &packet) == 1) {
                ogg_stream_packetin(&stream, &packet);
                writePages(false);
            }
        }
        if (count == 0)
            break;
    }
    writePages(true);
    if (file)
        ok = std::fclose(file) == 0 && ok;
    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return ok;
}

class AudioEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        AppState.Reset();
        AppState.UseWinClip = false;
        char saved[MAX_PATH] = {};
        GetEnvironmentVariableA("TMP", saved, MAX_PATH);
        savedTmp_ = saved;
        SetEnvironmentVariableA("TMP", (folder.Path() + "\\").c_str());
        owner = CreateWindowExA(0, "STATIC", "edit owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                nullptr);
    }
    void TearDown() override {
        DiscardPasteBuffer();
        slot.reset();
        DestroyWindow(owner);
        SetEnvironmentVariableA("TMP", savedTmp_.empty() ? nullptr : savedTmp_.c_str());
        AppState.Reset();
    }
    // A recording of the bytes under name, open as the current file.
    void MakeCurrent(const std::string& data, const char* name = "take.wav", DWORD rate = 8000) {
        path = folder / name;
        const WAVEFORMATEX format = PcmFormat(1, rate, 8);
        slot = std::make_unique<WaveFile>(path.c_str(), &format, kCreate);
        ASSERT_TRUE(slot->Open());
        ASSERT_EQ(slot->Write(data.data(), static_cast<uint32_t>(data.size())), static_cast<int32_t>(data.size()));
        ASSERT_TRUE(slot->Update());
    }
    std::string MakeOther(const std::string& name, const std::string& data, DWORD rate = 8000) {
        const std::string other = folder / name;
        const WAVEFORMATEX format = PcmFormat(1, rate, 8);
        WaveFile file(other.c_str(), &format, kCreate);
        EXPECT_TRUE(file.Open());
        EXPECT_EQ(file.Write(data.data(), static_cast<uint32_t>(data.size())), static_cast<int32_t>(data.size()));
        EXPECT_TRUE(file.Close());
        return other;
    }
    int Edit(const std::function<int(AudioEdit&)>& operation) {
        SilentProgress quiet;
        ClipboardExchange clipboard(owner, quiet);
        AudioEdit edit(slot, progress, clipboard);
        return operation(edit);
    }
    // Names in the folder, sorted, without annotation journals.
    std::vector<std::string> Files_() const {
        std::vector<std::string> names;
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((folder.Path() + "\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            return names;
        do {
            const std::string name = found.cFileName;
            // Journals come and go with their open recordings.
            const std::optional<std::string> extension = ExtensionPart(name);
            if (name != "." && name != ".." && !(extension && (*extension)[0] == '~'))
                names.push_back(name);
        } while (FindNextFileA(search, &found));
        FindClose(search);
        std::sort(names.begin(), names.end());
        return names;
    }

    FilesTestFolder folder;
    HWND owner = nullptr;
    std::unique_ptr<RecFile> slot;
    std::string path;
    ScriptedEditProgress progress;

private:
    std::string savedTmp_;
};

using Names = std::vector<std::string>;

TEST_F(AudioEditTest, CutMovesAudioCommentsAndSegmentsAndKeepsThePath) {
    const std::string audio = Audio(10000, 1);
    MakeCurrent(audio);
    slot->AddComment("long", 4000, 8000);
    slot->AddComment("short", 2000, 3000);
    slot->AddTimeCode(6000, 1700000000);

    EXPECT_EQ(Edit([](AudioEdit& e) { return e.CutSelection(5000, 1000); }), kCutDone);

    ASSERT_TRUE(slot);
    EXPECT_TRUE(SamePath(slot->GetPath(), path));
    EXPECT_EQ(slot->GetLength(), 6000u);
    EXPECT_EQ(slot->GetPosition(), 1000u);
    EXPECT_EQ(ReadAudio(*slot), audio.substr(0, 1000) + audio.substr(5000));
    ASSERT_EQ(slot->CommentCount(), 1);
    EXPECT_EQ(slot->GetCommentText(0), "long");
    EXPECT_EQ(slot->GetCommentStart(0), 1000u);
    EXPECT_EQ(slot->GetCommentEnd(0), 4000u);
    const int segment = slot->FindTimeCode(2000);
    ASSERT_GE(segment, 0);
    EXPECT_EQ(slot->GetTimeCodePos(segment), 2000u);
    EXPECT_EQ(slot->GetTimeCodeAt(segment), 1700000000);

    ASSERT_TRUE(PasteBuffer);
    EXPECT_EQ(ReadAudio(*PasteBuffer), audio.substr(1000, 4000));
    ASSERT_EQ(PasteBuffer->CommentCount(), 2);
    EXPECT_EQ(PasteBuffer->GetCommentText(0), "short");
    EXPECT_EQ(PasteBuffer->GetCommentStart(0), 1000u);
    EXPECT_EQ(PasteBuffer->GetCommentEnd(0), 2000u);
    EXPECT_EQ(PasteBuffer->GetCommentStart(1), 3000u);  // "long" from 4000 runs to the cut's end
    EXPECT_EQ(PasteBuffer->GetCommentEnd(1), 4000u);
    EXPECT_EQ(progress.captions.at(1), " Copying audio data 1/3 0%");

    // Only the recording and the paste buffer are on disk; a later cut
    // deletes the older buffer.
    EXPECT_EQ(Files_(), (Names{"take.wav", "~rec_1.wav"}));
    EXPECT_EQ(Edit([](AudioEdit& e) { return e.CutSelection(0, 10); }), kCutDone);
    EXPECT_EQ(Files_(), (Names{"take.wav", "~rec_1.wav"}));
    EXPECT_EQ(slot->GetLength(), 5990u);
    DiscardPasteBuffer();
    EXPECT_EQ(Files_(), (Names{"take.wav"}));
}

TEST_F(AudioEditTest, CancelOrFailedReadLeavesTheRecordingAsItWas) {
    struct Case {
        const char* cancelOn;
        bool bufferKept;
    } cases[] = {{"1/3", false}, {"2/3", false}, {"3/3", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cancelOn);
        MakeCurrent(Audio(10000, 2));
        const std::string before = ReadAllBytes(path);
        progress = ScriptedEditProgress();
        progress.cancelOn = c.cancelOn;
        EXPECT_EQ(Edit([](AudioEdit& e) { return e.CutSelection(1000, 5000); }), kCutDone);
        EXPECT_EQ(slot->GetLength(), 10000u);
        EXPECT_EQ(slot->GetPosition(), 1000u);
        slot.reset();
        EXPECT_EQ(ReadAllBytes(path), before);
        EXPECT_EQ(PasteBuffer != nullptr, c.bufferKept);
        if (c.bufferKept) {
            EXPECT_EQ(PasteBuffer->GetLength(), 4000u);
        }
        DiscardPasteBuffer();
        EXPECT_EQ(Files_(), (Names{"take.wav"}));
    }
    progress = ScriptedEditProgress();
    // A source that cannot be read: one try, then the cut is dropped.
    MakeCurrent(Audio(10000, 3));
    slot.reset();
    const std::string before = ReadAllBytes(path);
    auto failing = std::make_unique<FailingReadWave>(path.c_str(), nullptr, MMIO_READWRITE);
    ASSERT_TRUE(failing->Open());
    FailingReadWave* source = failing.get();
    slot = std::move(failing);
    EXPECT_EQ(Edit([](AudioEdit& e) { return e.CutSelection(1000, 5000); }), kEditCopyFailed);
    EXPECT_EQ(source->reads, 1);
    EXPECT_EQ(Edit([](AudioEdit& e) { return e.CopySelection(1000, 5000); }), kEditCopyFailed);
    EXPECT_FALSE(PasteBuffer);
    slot.reset();
    EXPECT_EQ(ReadAllBytes(path), before);
    EXPECT_EQ(Files_(), (Names{"take.wav"}));
}

TEST_F(AudioEditTest, PastesRepeatAtThePositionAndBeyondTheEndAppend) {
    const std::string audio = Audio(3000, 4);
    MakeCurrent(audio);
    ASSERT_EQ(Edit([](AudioEdit& e) { return e.CopySelection(0, 1000); }), kEditDone);
    EXPECT_EQ(slot->GetPosition(), 3000u);  // a copy keeps the position
    const std::string piece = audio.substr(0, 1000);
    EXPECT_EQ(Edit([](AudioEdit& e) { return e.PasteInsert(500); }), kEditDone);
    EXPECT_EQ(Edit([](AudioEdit& e) { return e.PasteInsert(500); }), kEditDone);
    EXPECT_EQ(slot->GetPosition(), 500u);
    EXPECT_EQ(Edit([](AudioEdit& e) { return e.PasteInsert(999999); }), kEditDone);
    EXPECT_EQ(ReadAudio(*slot), audio.substr(0, 500) + piece + piece + audio.substr(500) + piece);
    EXPECT_TRUE(SamePath(slot->GetPath(), path));
    EXPECT_EQ(Files_(), (Names{"take.wav", "~rec_1.wav"}));
}

TEST_F(AudioEditTest, InsertChecksFormatsAndRefusesReadOnlyRecordings) {
    const std::string audio = Audio(2000, 5);
    MakeCurrent(audio);
    const std::string otherRate = MakeOther("other.wav", Audio(500, 6), 11025);
    EXPECT_EQ(Edit([&](AudioEdit& e) { return e.InsertFile(100, otherRate); }), kPasteFormatsDiffer);
    EXPECT_EQ(ReadAudio(*slot), audio);
    // Another program's plain 16-byte "fmt " matches our 18-byte one.
    const std::string plain = folder / "plain.wav";
    const std::string data = Audio(300, 7);
    WAVEFORMATEX format = PcmFormat(1, 8000, 8);
    std::string bytes = "RIFF" + std::string(4, '\0') + "WAVEfmt " + std::string("\x10\0\0\0", 4);
    bytes.append(reinterpret_cast<const char*>(&format), 16);
    const uint32_t dataBytes = static_cast<uint32_t>(data.size());
    bytes += "data" + std::string(reinterpret_cast<const char*>(&dataBytes), 4) + data;
    const uint32_t riffBytes = static_cast<uint32_t>(bytes.size() - 8);
    bytes.replace(4, 4, reinterpret_cast<const char*>(&riffBytes), 4);
    ASSERT_TRUE(WriteAllBytes(plain, bytes));
    EXPECT_EQ(Edit([&](AudioEdit& e) { return e.InsertFile(100, plain); }), kEditDone);
    EXPECT_EQ(ReadAudio(*slot), audio.substr(0, 100) + data + audio.substr(100));
    EXPECT_EQ(ReadAllBytes(plain), bytes);  // the inserted file is untouched
    // A missing file is neither made nor inserted.
    EXPECT_EQ(Edit([&](AudioEdit& e) { return e.InsertFile(0, folder / "missing.wav"); }), kPasteNoBuffer);
    EXPECT_FALSE(FileExists(folder / "missing.wav"));
    EXPECT_EQ(Edit([&](AudioEdit& e) { return e.InsertFile(0, folder / "missing.ogg"); }), kPasteNoBuffer);
    EXPECT_FALSE(FileExists(folder / "missing.ogg"));
    // Opened read-only: no edit touches it, nor its file.
    slot->SetReadOnly(true);
    const std::string kept = ReadAllBytes(path);
    EXPECT_EQ(Edit([](AudioEdit& e) { return e.CutSelection(0, 100); }), kEditReadOnly);
    EXPECT_EQ(Edit([](AudioEdit& e) { return e.PasteInsert(0); }), kEditReadOnly);
    EXPECT_EQ(Edit([&](AudioEdit& e) { return e.InsertFile(0, plain); }), kEditReadOnly);
    EXPECT_EQ(Edit([](AudioEdit& e) { return e.CopySelection(0, 100); }), kEditDone);
    slot.reset();
    EXPECT_EQ(ReadAllBytes(path), kept);
}

TEST_F(AudioEditTest, ARefusedReplacementKeepsTheRecordingAndDropsTheNewFile) {
    const std::string audio = Audio(4000, 8);
    MakeCurrent(audio);
    RefusingDelete files;
    files.refused = path;
    SetFiles(&files);
    const int result = Edit([](AudioEdit& e) { return e.CutSelection(1000, 2000); });
    SetFiles(nullptr);
    EXPECT_EQ(result, kEditNotReplaced);
    ASSERT_TRUE(slot);
    EXPECT_TRUE(slot->IsOpen());
    EXPECT_TRUE(SamePath(slot->GetPath(), path));
    EXPECT_EQ(ReadAudio(*slot), audio);
    EXPECT_EQ(Files_(), (Names{"take.wav", "~rec_1.wav"}));  // the cut audio is still in the buffer
}

TEST_F(AudioEditTest, PasteWithoutRecordingMakesATemporaryOne) {
    const std::string data = Audio(700, 9);
    const std::string source = MakeOther("source.wav", data);
    EXPECT_EQ(Edit([&](AudioEdit& e) { return e.InsertFile(0, source); }), kEditDone);
    ASSERT_TRUE(slot);
    EXPECT_TRUE(slot->IsTemporary());
    EXPECT_EQ(FileNamePart(slot->GetPath()).substr(0, 5), "~rec_");
    EXPECT_EQ(ReadAudio(*slot), data);
}

TEST_F(AudioEditTest, CutAndPasteThroughTheWindowsClipboard) {
    AppState.UseWinClip = true;
    const std::string audio = Audio(6000, 10);
    MakeCurrent(audio);
    EXPECT_EQ(Edit([](AudioEdit& e) { return e.CutSelection(2000, 3000); }), kCutDone);
    EXPECT_FALSE(PasteBuffer);
    EXPECT_EQ(Files_(), (Names{"take.wav"}));
    EXPECT_EQ(Edit([](AudioEdit& e) { return e.PasteInsert(2000); }), kEditDone);
    EXPECT_EQ(ReadAudio(*slot), audio);
    EXPECT_FALSE(PasteBuffer);
    EXPECT_EQ(Files_(), (Names{"take.wav"}));
}

// A long copy or cut puts on the Windows clipboard exactly the file the
// private paste buffer would hold: the header, audio over several chunks
// (an odd length, so with the pad byte) and the annotations after it.
TEST_F(AudioEditTest, WindowsClipboardImageIsThePasteBufferFile) {
    const std::string audio = Audio(1500001, 11);
    const auto readFile = [](const std::string& name) {
        std::string bytes;
        if (FILE* file = std::fopen(name.c_str(), "rb")) {
            char chunk[65536];
            for (size_t got; (got = std::fread(chunk, 1, sizeof chunk, file)) > 0;)
                bytes.append(chunk, got);
            std::fclose(file);
        }
        return bytes;
    };
    const auto clipboardWave = [this] {
        std::string bytes;
        if (!OpenClipboard(owner))
            return bytes;
        if (HANDLE block = GetClipboardData(CF_WAVE)) {
            if (const char* data = static_cast<const char*>(GlobalLock(block))) {
                bytes.assign(data, GlobalSize(block));
                GlobalUnlock(block);
            }
        }
        CloseClipboard();
        return bytes;
    };
    int round = 0;
    for (const bool cut : {false, true}) {
        const auto operation = [cut](AudioEdit& e) {
            return cut ? e.CutSelection(100, 1400101) : e.CopySelection(1400101, 100);
        };
        std::string images[2];
        for (const bool windows : {false, true}) {
            AppState.UseWinClip = windows;
            MakeCurrent(audio, ("take" + std::to_string(round++) + ".wav").c_str());
            slot->AddComment("across", 50, 900000);
            slot->AddTimeCode(700000, 1700000000);
            ASSERT_GE(Edit(operation), 0);
            if (windows) {
                images[1] = clipboardWave();
            } else {
                SilentProgress quiet;
                const std::string saved = folder / "saved.wav";
                ASSERT_EQ(ClipboardExchange(owner, quiet).SaveClipboardAs(saved, ftWav), kClipboardSaved);
                images[0] = readFile(saved);
                DiscardPasteBuffer();
            }
            slot.reset();
        }
        EXPECT_GT(images[0].size(), 1400001u + 44);
        EXPECT_TRUE(images[0] == images[1]) << (cut ? "cut" : "copy") << ": " << images[0].size() << " bytes against "
                                            << images[1].size();
    }
}

TEST_F(AudioEditTest, OggCutCountsSampleFramesAndStillDecodes) {
    const std::string ogg = folder / "tone.ogg";
    {
        const WAVEFORMATEX format = CodecFormat(kVorbisFormatTag, 2, 44100);
        OggVorbisFile file(ogg.c_str(), &format, 4, kCreate);
        ASSERT_TRUE(file.Open());
        ASSERT_TRUE(WriteTone(file, 3.0, 2, 44100, 4410));
        file.SetTemporary(false);
        ASSERT_TRUE(file.Close());
    }
    slot = std::make_unique<OggVorbisFile>(ogg.c_str(), nullptr, 4, MMIO_READWRITE);
    ASSERT_TRUE(slot->Open());
    const uint32_t length = slot->GetLength();
    ASSERT_NEAR(length, 3 * 44100, 2048);
    // Positions in an Ogg file are sample frames, found at page ends: the
    // cut takes whole pages from the first page end at or after each bound.
    EXPECT_EQ(Edit([](AudioEdit& e) { return e.CutSelection(44100, 2 * 44100); }), kCutDone);
    ASSERT_TRUE(PasteBuffer);
    EXPECT_GE(PasteBuffer->GetLength(), 44100u / 2);
    EXPECT_EQ(slot->GetLength() + PasteBuffer->GetLength(), length);
    EXPECT_GE(slot->GetPosition(), 44100u);
    EXPECT_LT(slot->GetPosition(), slot->GetLength());
    for (RecFile* part : {slot.get(), PasteBuffer.get()}) {
        (void)part->Position(0);
        const std::vector<int16_t> pcm = DecodeAll(*part);
        EXPECT_NEAR(pcm.size() / 2.0, part->GetLength(), 2048);
        EXPECT_NEAR(ToneFrequency(pcm, 2, 44100), 440, 8);
    }
    EXPECT_TRUE(SamePath(slot->GetPath(), ogg));
}

// The nominal rate matches but the packets were coded under another setup
// header: spliced in, they would not decode. Refused like any other format.
TEST_F(AudioEditTest, OggInsertOfAnotherEncodersAudioIsRefused) {
    const std::string ogg = folder / "tone.ogg";
    {
        const WAVEFORMATEX format = CodecFormat(kVorbisFormatTag, 2, 44100);
        OggVorbisFile file(ogg.c_str(), &format, 4, kCreate);
        ASSERT_TRUE(file.Open());
        ASSERT_TRUE(WriteTone(file, 2.0, 2, 44100, 4410));
        file.SetTemporary(false);
        ASSERT_TRUE(file.Close());
    }
    const std::string foreign = folder / "foreign.ogg";
    ASSERT_TRUE(WriteForeignVorbis(foreign, 1.0));
    slot = std::make_unique<OggVorbisFile>(ogg.c_str(), nullptr, 4, MMIO_READWRITE);
    ASSERT_TRUE(slot->Open());
    const uint32_t length = slot->GetLength();
    EXPECT_EQ(Edit([&](AudioEdit& e) { return e.InsertFile(44100, foreign); }), kPasteFormatsDiffer);
    EXPECT_EQ(slot->GetLength(), length);
    // The same audio under the private clipboard: a paste is refused too.
    PasteBuffer = AudioEdit::OpenFileOfType(foreign.c_str(), nullptr, MMIO_READ, -1);
    ASSERT_TRUE(PasteBuffer && PasteBuffer->IsOpen());
    EXPECT_EQ(Edit([](AudioEdit& e) { return e.PasteInsert(44100); }), kPasteFormatsDiffer);
    EXPECT_EQ(slot->GetLength(), length);
}

}  // namespace
