// The reading every hostile case puts an opened file through.
#include "tests/hostile/Hostile.h"

#include <vector>

namespace hostile {

void PlayRead(RecFile& file) {
    (void)file.GetFormat();
    (void)file.GetSeconds();
    (void)file.GetTag("INAM");
    (void)file.GetTag("title");
    (void)file.GetTag(kAnnotationKey);
    for (int i = 0; i < file.TimeCodeCount(); ++i)
        (void)file.GetTimeCode(file.GetTimeCodePos(i));
    for (int i = 0; i < file.CommentCount(); ++i)
        (void)file.FindComment(file.GetCommentStart(i));
    std::vector<char> buffer(4096);
    const uint32_t length = file.GetLength();
    for (uint32_t at : {0u, length / 3, length}) {
        if (!file.Position(at))
            continue;
        // Each read moves on or ends; a reader that claims data it cannot
        // deliver must still end.
        for (uint64_t total = 0; total <= uint64_t{length} + buffer.size();) {
            const int32_t got = file.Read(buffer.data(), static_cast<uint32_t>(buffer.size()));
            if (got <= 0)
                break;
            total += static_cast<uint32_t>(got);
        }
    }
    // Playback of the formats that decode by themselves, from the start to
    // the end of what the file holds.
    if (file.Position(0)) {
        std::vector<int16_t> pcm(4096);
        while (file.ReadSamples(pcm.data(), static_cast<uint32_t>(pcm.size() * 2)) != 0) {
        }
    }
    (void)file.VerifySignature();
}

}  // namespace hostile
