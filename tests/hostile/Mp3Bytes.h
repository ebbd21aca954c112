// MP3 files for the mutation harness: frames and ID3 tags built by hand (so
// the suite has seeds without lame), and mutations that know where frame
// headers, the ID3v2 header, its frames and the ID3v1 block lie.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "tests/hostile/Hostile.h"

namespace hostile {

// count frames of the four header bytes, each of the length the header
// gives (the audio bytes are a quiet pattern).
std::string Mp3FrameRun(const uint8_t header[4], int count);
// An ID3v2.3 tag of frames (id, content), unsynchronisation off.
std::string Id3v2Tag(const std::vector<std::pair<std::string, std::string>>& frames);
// The 128-byte ID3v1 block with a title.
std::string Id3v1Block(const std::string& title);

// Offsets of the frame headers a walk from after an ID3v2 tag finds.
std::vector<size_t> Mp3FrameHeaders(const std::string& bytes);
// Frame header fields (version, layer, bit rate, sample rate, padding,
// mode), false syncs, the ID3v2 header (version, flags, size) and its
// frames (size, flags: compressed, encrypted, grouped; text encodings),
// the ID3v1 block; plus ByteMutations.
const std::vector<Mutation>& Mp3Mutations();

}  // namespace hostile
