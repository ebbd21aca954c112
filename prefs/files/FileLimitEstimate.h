// The File page's file limit: its bounds and the estimate of what a limit
// allows. Windowless.
#pragma once

#include <string>

// The limit of a file, in megabytes or minutes, is 1 to 9999.
constexpr int kMinFileLimit = 1;
constexpr int kMaxFileLimit = 9999;
int ClampFileLimit(long long value);

// The estimate for a limit of value megabytes (or minutes) at byteRate bytes
// per second: the caption and "%.1f minutes" (or "%.1f MB"). False, and
// nothing set, for a rate of 0 or less.
bool FileLimitEstimate(long long value, bool minutes, long long byteRate, std::string& caption,
                       std::string& text);
