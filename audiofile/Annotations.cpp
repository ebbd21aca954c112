#include "audiofile/Annotations.h"

#include <windows.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// A text may not break its line: CR, LF and TAB become spaces.
std::string BlankOutControls(const std::string& text) {
    std::string clean = text;
    for (char& c : clean)
        if (c == '\r' || c == '\n' || c == '\t')
            c = ' ';
    return clean;
}

std::string CommentLine(const CommentRec& comment) {
    char prefix[64];
    std::snprintf(prefix, sizeof prefix, "COMMENT %" PRIu32 "\t%" PRIu32 "\t", comment.start,
                  comment.end);
    const size_t room = kMaxAnnotationLine - std::strlen(prefix) - 2;
    std::string text = BlankOutControls(comment.text);
    if (text.size() > room)
        text.resize(room);
    return prefix + text + "\r\n";
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

const char* SkipBlanks(const char* p) {
    while (IsBlank(*p))
        ++p;
    return p;
}

std::string FirstWord(const char* line) {
    const char* start = SkipBlanks(line);
    const char* end = start;
    while (*end && !IsBlank(*end))
        ++end;
    return std::string(start, end);
}

RecordingSignature ParseSignatureHex(const char* rest) {
    std::string hex = FirstWord(rest);
    if (hex.size() > 79)
        hex.resize(79);
    RecordingSignature signature{};
    for (size_t i = 0; i < signature.size() && 2 * i + 1 < hex.size(); ++i) {
        const std::string pair = hex.substr(2 * i, 2);
        char* end = nullptr;
        const unsigned long value = std::strtoul(pair.c_str(), &end, 16);
        signature[i] = (end && *end == '\0') ? static_cast<uint8_t>(value) : 0;
    }
    return signature;
}

CommentRec ParseCommentLine(const char* rest) {
    CommentRec comment;
    char* end = nullptr;
    comment.start = static_cast<uint32_t>(std::strtoul(rest, &end, 10));
    comment.end = static_cast<uint32_t>(std::strtoul(end, &end, 10));
    const char* text = SkipBlanks(end);
    const char* stop = std::strchr(text, '\r');
    comment.text.assign(text, stop ? stop : text + std::strlen(text));
    return comment;
}

TimeCodeRec ParseSegmentLine(const char* line) {
    TimeCodeRec segment;
    char* end = nullptr;
    segment.position = static_cast<uint32_t>(std::strtoul(line, &end, 10));
    const long long timeCode = std::strtoll(end, nullptr, 10);
    // A time before 1970 is not one we ever write: read it as "no clock time".
    segment.timeCode = timeCode < 0 ? 0 : timeCode;
    return segment;
}

// Handles one line; false when parsing must stop.
bool ParseLine(const char* line, AnnotationForm form, ParsedAnnotations& parsed) {
    const std::string word = FirstWord(line);
    if (word.empty())
        return false;
    if (word[0] >= '0' && word[0] <= '9') {
        parsed.segments.push_back(ParseSegmentLine(SkipBlanks(line)));
        return true;
    }
    const char* rest = SkipBlanks(line) + word.size();
    if (lstrcmpiA(word.c_str(), "SAMPLE") == 0 || lstrcmpiA(word.c_str(), "EVENT") == 0 ||
        lstrcmpiA(word.c_str(), "STATION") == 0)
        return true;
    if (lstrcmpiA(word.c_str(), "COMMENT") == 0) {
        parsed.comments.push_back(ParseCommentLine(rest));
        return true;
    }
    if (form == AnnotationForm::TagBlock && lstrcmpiA(word.c_str(), "SIGNATURE") == 0) {
        parsed.signature = ParseSignatureHex(rest);
        parsed.hasSignature = true;
        return true;
    }
    return false;
}

}  // namespace

std::string FormatAnnotationLines(AnnotationForm form, const std::vector<TimeCodeRec>& segments,
                                  const std::vector<CommentRec>& comments) {
    const bool tag = form == AnnotationForm::TagBlock;
    std::string text = tag ? "SAMPLE TIMECODE\r\n" : "SAMPLE\tTIMECODE\r\n";
    char line[64];
    for (const TimeCodeRec& segment : segments) {
        // All 64 bits of the time code: the low half alone is wrong after 2038.
        std::snprintf(line, sizeof line, tag ? "%" PRIu32 " %" PRId64 "\r\n" : "%" PRIu32 "\t%" PRId64 "\r\n",
                      segment.position, segment.timeCode);
        text += line;
    }
    for (const CommentRec& comment : comments)
        text += CommentLine(comment);
    return text;
}

std::string FormatSignatureLine(const RecordingSignature& signature) {
    std::string line = "SIGNATURE ";
    char hex[3];
    for (uint8_t byte : signature) {
        std::snprintf(hex, sizeof hex, "%2.2x", byte);
        line += hex;
    }
    return line + "\r\n";
}

std::string BuildJournalImage(const std::vector<TimeCodeRec>& segments,
                              const std::vector<CommentRec>& comments) {
    std::string image(4, '\0');
    image[0] = static_cast<char>(kJournalMark);
    image += FormatAnnotationLines(AnnotationForm::Journal, segments, comments);
    image += '\0';
    return image;
}

ParsedAnnotations ParseAnnotationLines(const std::string& text, AnnotationForm form) {
    ParsedAnnotations parsed;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        if (end - start > kMaxAnnotationLine + 1)
            break;
        const std::string line = text.substr(start, end - start);
        if (!ParseLine(line.c_str(), form, parsed))
            break;
        start = end + 1;
    }
    return parsed;
}
