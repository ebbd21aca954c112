#include "prefs/FileNamePreview.h"

#include <cstdio>

#include "core/TimePattern.h"

const char kFileNameRefusedChars[] = ":*?<>|\"";

FileNameFieldValidator::FileNameFieldValidator(const char* refusedInText)
    : TFilterValidator(TExceptCharSet(kFileNameRefusedChars)), wholeText_(refusedInText) {}

bool FileNameFieldValidator::IsValid(const std::string& text) const {
    for (char c : text) {
        if (!wholeText_.Has(static_cast<unsigned char>(c))) return false;
    }
    return true;
}

int ClampFileLimit(long long value) {
    return value < kMinFileLimit ? kMinFileLimit
                                 : value > kMaxFileLimit ? kMaxFileLimit : static_cast<int>(value);
}

std::string FileNamePreview(const std::string& pattern, bool appendInstance, int fileType,
                            const std::tm& time) {
    std::string text = pattern.empty() ? "rec" : pattern;
    if (appendInstance) text += "_1";
    text += fileType == 1 ? ".mp3" : fileType == 3 ? ".ogg" : ".wav";
    return ExpandTimePattern(text, time);
}

bool FileLimitEstimate(long long value, bool minutes, long long byteRate, std::string& caption,
                       std::string& text) {
    if (byteRate <= 0) return false;
    char buffer[64];
    // Floating point throughout: 9999 MB is far beyond 32 bits of bytes.
    if (minutes) {
        caption = "Total recording size at default sample rate:";
        std::snprintf(buffer, sizeof buffer, "%.1f MB",
                      static_cast<double>(value) * 60.0 * static_cast<double>(byteRate) / 1048576.0);
    } else {
        caption = "Total recording time at default sample rate:";
        std::snprintf(buffer, sizeof buffer, "%.1f minutes",
                      static_cast<double>(value) * 1048576.0 / static_cast<double>(byteRate) / 60.0);
    }
    text = buffer;
    return true;
}
