// Ogg pages for the mutation harness: the page walk, the page checksum, and
// mutations of page header fields that recompute the checksum afterwards (so
// the damage reaches the reader past its checksum test) or break only the
// checksum. Seeds come from oggenc and speexenc through hostile_sox.sh.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/hostile/Hostile.h"

namespace hostile {

// Offsets of every "OggS" page header that a plain walk finds.
std::vector<size_t> OggPages(const std::string& bytes);
// The page's checksum as the format computes it (the field read as zero).
uint32_t OggPageCrc(const std::string& bytes, size_t page);
// Header type, granule position, serial, sequence, segment count, lacing
// values, a page cut short, and the checksum alone; plus ByteMutations.
const std::vector<Mutation>& OggMutations();

}  // namespace hostile
