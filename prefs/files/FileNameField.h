// The fields whose text becomes part of file names: the naming pattern and
// the schedule events' names. Windowless.
#pragma once

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
