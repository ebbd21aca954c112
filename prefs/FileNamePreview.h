// The texts the File page and the pattern dialog show: the example of a new
// file's name and the estimate of what the file limit allows. Windowless.
#pragma once

#include <ctime>
#include <string>

#include "framework/Validators.h"

// Characters that the naming pattern and event names may not hold: no file
// name can, so every automatic recording would fail to open. "/" and the
// backslash stay accepted (folders below the default one).
extern const char kFileNameRefusedChars[];

// The filter of a field whose text becomes part of file names: typing and
// pasting refuse every character of kFileNameRefusedChars; the whole text,
// checked on closing, refuses only those of refusedInText. So a text stored
// by an older version, which refused fewer characters, is confirmed as it
// stands.
class FileNameFieldValidator : public TFilterValidator {
public:
    explicit FileNameFieldValidator(const char* refusedInText);
    bool IsValid(const std::string& text) const override;

private:
    TExceptCharSet wholeText_;
};

// The limit of a file, in megabytes or minutes, is 1 to 9999.
constexpr int kMinFileLimit = 1;
constexpr int kMaxFileLimit = 9999;
int ClampFileLimit(long long value);

// pattern ("rec" when empty), "_1" when appendInstance, the extension of the
// file type (".mp3" 1, ".ogg" 3, else ".wav"), expanded as a time pattern
// for time. Empty when the pattern holds a code strftime does not know.
std::string FileNamePreview(const std::string& pattern, bool appendInstance, int fileType,
                            const std::tm& time);

// The estimate for a limit of value megabytes (or minutes) at byteRate bytes
// per second: the caption and "%.1f minutes" (or "%.1f MB"). False, and
// nothing set, for a rate of 0 or less.
bool FileLimitEstimate(long long value, bool minutes, long long byteRate, std::string& caption,
                       std::string& text);
