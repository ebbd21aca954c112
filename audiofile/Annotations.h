// The annotation records and their two text forms: the annotation text block
// stored in the file's tag, and the sidecar journal kept beside the file.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// One segment: the clock time at which recording of the stretch from
// position on began; timeCode 0 = no clock time.
struct TimeCodeRec {
    uint32_t position = 0;
    int64_t timeCode = 0;  // seconds since 1970-01-01 UTC
};

// One comment over [start, end); end 0 = still open.
struct CommentRec {
    uint32_t start = 0;
    uint32_t end = 0;
    std::string text;
};

using RecordingSignature = std::array<uint8_t, 20>;  // all zero = unsigned

enum class AnnotationForm {
    TagBlock,  // "SAMPLE TIMECODE", space-separated segment lines, SIGNATURE line
    Journal,   // "SAMPLE\tTIMECODE", tab-separated segment lines, no signature
};

// Readers take lines of at most this many characters; every line written,
// its CR LF included, stays within it.
constexpr size_t kMaxAnnotationLine = 258;

// Header, segment and comment lines. segments: only those worth writing
// (the caller leaves out segments of length 0).
std::string FormatAnnotationLines(AnnotationForm form, const std::vector<TimeCodeRec>& segments,
                                  const std::vector<CommentRec>& comments);
std::string FormatSignatureLine(const RecordingSignature& signature);
// The journal file's whole content: the mark 1 (32-bit little-endian), the
// lines and a terminating zero byte.
std::string BuildJournalImage(const std::vector<TimeCodeRec>& segments,
                              const std::vector<CommentRec>& comments);
constexpr uint32_t kJournalMark = 1;

struct ParsedAnnotations {
    std::vector<TimeCodeRec> segments;  // in text order
    std::vector<CommentRec> comments;   // in text order
    RecordingSignature signature{};
    bool hasSignature = false;
};
// Reads lines until the text ends or a line is neither a number nor a known
// keyword (what came before is kept).
ParsedAnnotations ParseAnnotationLines(const std::string& text, AnnotationForm form);
