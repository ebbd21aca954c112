// The mutation harness shared by every reader of outside data: a seeded
// generator, byte mutations (generic and RIFF-aware), a watchdog bounding
// each case's time, a cap on single allocations, and the per-reader counts.
//
// A reader joins by giving its seeds and an exercise function to RunReader;
// the exercise opens, reads, play-reads and closes one damaged input.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "audiofile/RecFile.h"
#include "tests/audiofile/WaveTestSupport.h"

namespace hostile {

// splitmix64: the same seed gives the same cases on every run and build.
class Prng {
public:
    explicit Prng(uint64_t seed) : state_(seed) {}
    uint64_t Next();
    uint32_t Below(uint32_t bound) { return bound ? static_cast<uint32_t>(Next() % bound) : 0; }
    bool OneIn(uint32_t n) { return Below(n) == 0; }

private:
    uint64_t state_;
};

// Sizes that break naive readers: 0, odd, one off, the sign bit, all bits.
uint32_t HostileSize(Prng& rng, uint32_t original);

// One mutation of bytes; the name goes into the case description.
struct Mutation {
    const char* name;
    std::string (*apply)(const std::string& bytes, Prng& rng);
};
// Flips, overwrites with hostile 32-bit values, truncation, insertion,
// duplication, noise bursts, removal of every zero (text with no end).
const std::vector<Mutation>& ByteMutations();
// Chunk sizes, the RIFF size, "fmt " fields and chunk ids of a RIFF file,
// plus everything in ByteMutations.
const std::vector<Mutation>& RiffMutations();
// Line-oriented: huge numbers and counts, very long lines, lines without an
// end, control bytes, plus everything in ByteMutations.
const std::vector<Mutation>& TextMutations();
// A reader's own mutations followed by ByteMutations.
std::vector<Mutation> WithByteMutations(const Mutation* first, size_t count);

struct ReaderCounts {
    int run = 0;
    int opened = 0;   // cases whose input the reader took (NoteOpened)
    int crashed = 0;  // never seen: a crash ends the process with the case named
    int hung = 0;     // likewise: the watchdog ends the process
    int oversize = 0;
    int escaped = 0;  // an exception left the reader
};

struct Reader {
    std::string name;
    std::vector<std::string> seeds;
    const std::vector<Mutation>* mutations = nullptr;
    // Mutated inputs are cut to this size: the cases test the reader, not
    // how much memory the machine has.
    size_t maxBytes = size_t{1} << 20;
    // One damaged input; the case folder is empty but for a bystander file.
    std::function<void(const std::string& bytes, const std::string& folder, uint32_t caseNo)> exercise;
};

// Cases per reader in the suite, times LARKSPUR_HOSTILE_SCALE (the long run).
int CaseCount(int suiteCases);

// Runs cases deterministic mutations of the reader's seeds (case n uses
// seed n mod seeds and a generator seeded with the reader's name and n);
// checks after each that the case folder holds only what the exercise
// was allowed to write. Prints one line of counts. LARKSPUR_HOSTILE_KEEP
// names a folder that keeps the input of the case under way (left there by
// a crash or hang) and of every case that failed a check.
ReaderCounts RunReader(const Reader& reader, int cases);

// The watchdog: each case must end within this many milliseconds.
constexpr unsigned kCaseTimeoutMs = 20000;
// The largest single allocation a reader may make while a case runs.
constexpr size_t kAllocationCap = size_t{64} << 20;

// Marks the case under way (for the watchdog, the crash report and the
// allocation cap); empty text ends it.
void BeginCase(const std::string& description);
void EndCase();
// Allocations over the cap since BeginCase.
int OversizeAllocations();
// The exercise took the damaged input as a file (or a block) and read on.
void NoteOpened();

// RunReader with CaseCount(suiteCases) cases, then ExpectClean.
void RunSuite(const Reader& reader, int suiteCases);

// Every case ran; none allocated over the cap, let an exception out or
// wrote outside its file (crashes and hangs end the process).
void ExpectClean(const ReaderCounts& counts, int cases);

// The contents of the seed folder's files (LARKSPUR_HOSTILE_SOX_DIR, made by
// hostile_sox.sh) whose names end in "." extension; none without the folder.
std::vector<std::string> SeedFiles(const char* extension);

// Everything a user's reading does to an open file: format, length, tags,
// segments and comments, Position and Read through the data from three
// places, decoding (formats that decode by themselves) and the signature.
void PlayRead(RecFile& file);

// File helpers.
inline std::string ReadBytes(const std::string& path) { return ReadAllBytes(path); }
inline bool WriteBytes(const std::string& path, const std::string& bytes) { return WriteAllBytes(path, bytes); }
// A fresh folder in the temporary directory; RemoveFolder deletes its files.
std::string MakeFolder(const std::string& prefix);
void RemoveFolder(const std::string& folder);
// Names and contents of every file in folder, sorted by name.
std::vector<std::pair<std::string, std::string>> Snapshot(const std::string& folder);

}  // namespace hostile
