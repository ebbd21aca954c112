#include "prefs/files/FileLimitEstimate.h"

#include <cstdio>

int ClampFileLimit(long long value) {
    return value < kMinFileLimit ? kMinFileLimit
                                 : value > kMaxFileLimit ? kMaxFileLimit : static_cast<int>(value);
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
