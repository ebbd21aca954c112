// Damaged WAV files, annotation text blocks and journals: every case opens,
// reads, play-reads (Position and Read through the whole length) and
// closes without a crash, a hang, an oversize allocation or a write beside
// the file. Files made by sox join the seeds when LARKSPUR_HOSTILE_SOX_DIR
// names a folder of them (tests/hostile/hostile_sox.sh).
#include <gtest/gtest.h>

#include <windows.h>
#include <mmreg.h>

#include <cstdlib>
#include <vector>

#include "audiofile/Annotations.h"
#include "audiofile/PcmFormat.h"
#include "audiofile/WaveFile.h"
#include "tests/hostile/Hostile.h"

namespace hostile {
namespace {

constexpr int kSuiteCases = 400;

std::vector<char> Audio(size_t bytes, unsigned seed) {
    std::vector<char> data(bytes);
    for (size_t i = 0; i < bytes; ++i)
        data[i] = static_cast<char>((i * 31 + seed * 7 + (i >> 8)) & 0xFF);
    return data;
}

// A recording as the program leaves it: audio, segments, comments, a tag,
// the annotation block and the signature.
std::string WrittenWave(const std::string& folder, const WAVEFORMATEX& format, size_t bytes, bool annotate) {
    const std::string path = folder + "\\seed.wav";
    {
        WaveFile file(path.c_str(), &format, MMIO_READWRITE | MMIO_CREATE);
        if (!file.Open())
            return {};
        const std::vector<char> audio = Audio(bytes, 3);
        file.Write(audio.data(), static_cast<uint32_t>(audio.size()));
        if (annotate) {
            file.AddTimeCode(0, 1700000000);
            file.AddTimeCode(static_cast<uint32_t>(bytes / 2) & ~3u, 1700000100);
            file.AddComment("first comment", 0, 64);
            file.AddComment("an open comment", 128, 0);
            file.SetTag("INAM", "a title");
        }
        file.Close();
    }
    std::string image = ReadBytes(path);
    DeleteFileA(path.c_str());
    DeleteFileA(RecFile::JournalNameFor(path).c_str());
    return image;
}

// A plain PCM file of another program: "fmt " and "data", no tag, so a
// journal beside it is what the annotations are read from.
std::string PlainWave(uint32_t bytes) {
    const WAVEFORMATEX format = PcmFormat(1, 8000, 16);
    std::string image = "RIFF";
    auto put32 = [&image](uint32_t v) { image.append(reinterpret_cast<const char*>(&v), 4); };
    put32(4 + 8 + 16 + 8 + bytes);
    image += "WAVEfmt ";
    put32(16);
    image.append(reinterpret_cast<const char*>(&format), 16);
    image += "data";
    put32(bytes);
    const std::vector<char> audio = Audio(bytes, 9);
    image.append(audio.data(), audio.size());
    return image;
}

std::vector<std::string> WaveSeeds() {
    const std::string folder = MakeFolder("lkhs");
    std::vector<std::string> seeds;
    seeds.push_back(WrittenWave(folder, PcmFormat(1, 8000, 16), 3000, true));
    seeds.push_back(WrittenWave(folder, PcmFormat(2, 44100, 8), 1001, true));
    seeds.push_back(WrittenWave(folder, PcmFormat(1, 11025, 8), 257, false));
    seeds.push_back(PlainWave(1000));
    // A codec format with extra bytes and a "fact" chunk.
    struct {
        WAVEFORMATEX wfx;
        WORD samplesPerBlock;
    } ima{};
    ima.wfx = PcmFormat(1, 8000, 4);
    ima.wfx.wFormatTag = WAVE_FORMAT_IMA_ADPCM;
    ima.wfx.nBlockAlign = 256;
    ima.wfx.nAvgBytesPerSec = 4055;
    ima.wfx.cbSize = 2;
    ima.samplesPerBlock = 505;
    seeds.push_back(WrittenWave(folder, ima.wfx, 1024, true));
    RemoveFolder(folder);
    for (std::string& seed : SeedFiles("wav"))
        seeds.push_back(std::move(seed));
    seeds.erase(std::remove(seeds.begin(), seeds.end(), std::string()), seeds.end());
    return seeds;
}

void ExerciseWave(const std::string& bytes, const std::string& folder, uint32_t caseNo) {
    const std::string path = folder + "\\input.wav";
    WriteBytes(path, bytes);
    // Mostly read-only, as opening for playback does; every fourth case read-write,
    // where the file may be repaired in place.
    const uint32_t mode = caseNo % 4 == 3 ? MMIO_READWRITE : MMIO_READ;
    WaveFile file(path.c_str(), nullptr, mode);
    if (!file.Open())
        return;
    NoteOpened();
    PlayRead(file);
    if (mode == MMIO_READWRITE)
        file.Update();
    file.Close();
}

TEST(Hostile, WaveFiles) {
    Reader reader;
    reader.name = "wav";
    reader.seeds = WaveSeeds();
    ASSERT_GE(reader.seeds.size(), 4u);
    reader.mutations = &RiffMutations();
    reader.exercise = ExerciseWave;
    RunSuite(reader, kSuiteCases);
}

// ---- annotation text, alone and inside a file's tag

std::string SampleLines(AnnotationForm form) {
    std::vector<TimeCodeRec> segments = {{0, 1700000000}, {4000, 1700000100}, {9000, 0}};
    std::vector<CommentRec> comments = {{0, 100, "one"}, {200, 0, "still open"}, {300, 400, "x y z"}};
    std::string text = FormatAnnotationLines(form, segments, comments);
    if (form == AnnotationForm::TagBlock) {
        RecordingSignature signature{};
        for (size_t i = 0; i < signature.size(); ++i)
            signature[i] = static_cast<uint8_t>(i * 13 + 1);
        text += FormatSignatureLine(signature);
    }
    return text;
}

TEST(Hostile, AnnotationText) {
    Reader reader;
    reader.name = "annotation";
    reader.seeds = {SampleLines(AnnotationForm::TagBlock), SampleLines(AnnotationForm::Journal)};
    reader.mutations = &TextMutations();
    reader.exercise = [](const std::string& bytes, const std::string&, uint32_t caseNo) {
        const AnnotationForm form = caseNo % 2 ? AnnotationForm::Journal : AnnotationForm::TagBlock;
        const ParsedAnnotations parsed = ParseAnnotationLines(bytes, form);
        for (const CommentRec& comment : parsed.comments)
            EXPECT_LE(comment.text.size(), kMaxAnnotationLine);
    };
    RunSuite(reader, kSuiteCases);
}

// The text block as the WAV file's annotation chunk: the seed file's tag is
// replaced by each damaged text.
TEST(Hostile, AnnotationChunk) {
    const std::string folder = MakeFolder("lkhs");
    const std::string path = folder + "\\seed.wav";
    {
        const WAVEFORMATEX format = PcmFormat(1, 8000, 16);
        WaveFile file(path.c_str(), &format, MMIO_READWRITE | MMIO_CREATE);
        ASSERT_TRUE(file.Open());
        const std::vector<char> audio = Audio(20000, 5);
        file.Write(audio.data(), static_cast<uint32_t>(audio.size()));
        file.Close();
    }
    Reader reader;
    reader.name = "annot-tag";
    reader.seeds = {SampleLines(AnnotationForm::TagBlock)};
    reader.mutations = &TextMutations();
    const std::string seedFile = ReadBytes(path);
    RemoveFolder(folder);
    reader.exercise = [&seedFile](const std::string& text, const std::string& caseFolder, uint32_t caseNo) {
        const std::string input = caseFolder + "\\input.wav";
        WriteBytes(input, seedFile);
        {
            WaveFile file(input.c_str(), nullptr, MMIO_READWRITE);
            if (!file.Open())
                return;
            // SetTag stores what it is given; an odd one without its zero
            // half of the time.
            file.SetTag(kAnnotationKey, caseNo % 2 ? text : text + std::string(1, '\0'));
            file.Close();
        }
        ExerciseWave(ReadBytes(input), caseFolder, caseNo);
    };
    RunSuite(reader, kSuiteCases / 2);
}

// ---- the journal beside a file whose tag holds no annotations

TEST(Hostile, Journal) {
    const std::string seedFile = PlainWave(20000);
    Reader reader;
    reader.name = "journal";
    reader.seeds = {BuildJournalImage({{0, 1700000000}, {4000, 1700000100}}, {{0, 100, "one"}, {200, 0, "open"}})};
    reader.mutations = &TextMutations();
    reader.exercise = [&seedFile](const std::string& journal, const std::string& caseFolder, uint32_t caseNo) {
        const std::string input = caseFolder + "\\input.wav";
        WriteBytes(input, seedFile);
        WriteBytes(RecFile::JournalNameFor(input), journal);
        ExerciseWave(seedFile, caseFolder, caseNo);
    };
    RunSuite(reader, kSuiteCases);
}

}  // namespace
}  // namespace hostile

namespace hostile {
namespace {

// A journal far larger than any recording writes (a sparse file) is read
// only as far as the cap: no allocation of its whole size.
TEST(HostileRegression, HugeJournalIsReadOnlyToItsCap) {
    const std::string folder = MakeFolder("lkhs");
    const std::string input = folder + "\\input.wav";
    ASSERT_TRUE(WriteBytes(input, PlainWave(2000)));
    const std::string journalName = RecFile::JournalNameFor(input);
    ASSERT_TRUE(WriteBytes(journalName, BuildJournalImage({{0, 1700000000}}, {{0, 10, "kept"}})));
    HANDLE journal = CreateFileA(journalName.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(journal, INVALID_HANDLE_VALUE);
    LARGE_INTEGER size;
    size.QuadPart = 200LL << 20;
    SetFilePointerEx(journal, size, nullptr, FILE_BEGIN);
    SetEndOfFile(journal);
    CloseHandle(journal);
    BeginCase("a 200 MB journal");
    {
        // Read-write: a read-only file takes nothing from its journal.
        WaveFile file(input.c_str(), nullptr, MMIO_READWRITE);
        ASSERT_TRUE(file.Open());
        EXPECT_EQ(file.CommentCount(), 1);
        file.Close();
    }
    EXPECT_EQ(OversizeAllocations(), 0);
    EndCase();
    RemoveFolder(folder);
}

}  // namespace
}  // namespace hostile
