// Not a test of its own: the end-to-end checks run it on the file a killed or
// starved recording left behind (LARKSPUR_LEFT_FILE, a WAV or an Ogg Vorbis
// file), to see it through the program's audio-file classes. Prints one line
// the scripts read.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "audiofile/OggVorbisFile.h"
#include "audiofile/WaveFile.h"
#include "tests/hostile/Hostile.h"

namespace {

// "absent", "damaged", or "intact" with the segments and comments it holds.
std::string JournalState(const std::string& path) {
    const std::string name = RecFile::JournalNameFor(path);
    if (GetFileAttributesA(name.c_str()) == INVALID_FILE_ATTRIBUTES)
        return "absent";
    // The mark, lines, and the zero byte that ends them.
    const std::string journal = hostile::ReadBytes(name);
    const size_t end = journal.find('\0', 4);
    if (journal.size() < 5 || journal.compare(0, 4, std::string("\1\0\0\0", 4)) != 0 || end == std::string::npos)
        return "damaged";
    const ParsedAnnotations parsed = ParseAnnotationLines(journal.substr(4, end - 4), AnnotationForm::Journal);
    return "intact journal_segments=" + std::to_string(parsed.segments.size()) +
           " journal_comments=" + std::to_string(parsed.comments.size());
}

// An Ogg Vorbis recording: what decodes, in sample frames.
void ReportOgg(const char* path, const std::string& journal) {
    OggVorbisFile file(path, nullptr, 4, MMIO_READ);
    const bool opened = file.Open();
    uint64_t frames = 0;
    if (opened && file.Position(0)) {
        const uint32_t channels = file.PcmFormatOut().nChannels ? file.PcmFormatOut().nChannels : 1;
        std::vector<int16_t> pcm(32768);
        for (uint32_t got; (got = file.ReadSamples(pcm.data(), static_cast<uint32_t>(pcm.size() * 2))) > 0;)
            frames += got / 2 / channels;
    }
    std::printf("left file: opened=%d length=%u rate=%lu decoded=%llu segments=%d comments=%d journal=%s\n",
                opened ? 1 : 0, file.GetLength(), opened ? static_cast<unsigned long>(file.GetFormat()->nSamplesPerSec) : 0ul,
                static_cast<unsigned long long>(frames), file.TimeCodeCount(), file.CommentCount(), journal.c_str());
    std::fflush(stdout);
    file.Close();
    EXPECT_TRUE(opened);
}

TEST(HostileLeftFile, LeftFile) {
    const char* path = std::getenv("LARKSPUR_LEFT_FILE");
    if (!path)
        GTEST_SKIP() << "for the end-to-end checks";
    const std::string journal = JournalState(path);
    const size_t length = std::strlen(path);
    if (length > 4 && _stricmp(path + length - 4, ".ogg") == 0)
        return ReportOgg(path, journal);
    WaveFile file(path, nullptr, MMIO_READ);
    const bool opened = file.Open();
    uint64_t read = 0;
    if (opened && file.Position(0)) {
        std::vector<char> buffer(65536);
        for (int32_t got; (got = file.Read(buffer.data(), static_cast<uint32_t>(buffer.size()))) > 0;)
            read += static_cast<uint32_t>(got);
    }
    std::printf("left file: opened=%d length=%u align=%u rate=%lu read=%llu segments=%d comments=%d journal=%s\n",
                opened ? 1 : 0, file.GetDataLength(), opened ? file.GetFormat()->nBlockAlign : 0,
                opened ? static_cast<unsigned long>(file.GetFormat()->nAvgBytesPerSec) : 0ul,
                static_cast<unsigned long long>(read), file.TimeCodeCount(), file.CommentCount(), journal.c_str());
    std::fflush(stdout);
    file.Close();
    EXPECT_TRUE(opened);
}

}  // namespace
