// The setup header of an Ogg Vorbis file (its third header packet): the
// code books and modes its audio packets are coded with. Packets decode only
// under the setup header they were made with, so audio is spliced from one
// stream into another only when the two headers are the same bytes.
#pragma once

#include <string>

// The setup header's bytes as they stand on disk; empty when the file
// cannot be read or holds no such header.
std::string ReadVorbisSetupHeader(const std::string& path);
