// Numbers in the pages' edit fields.
#pragma once

#include <string>

#include "framework/Validators.h"

// The leading decimal number of text, as the pages read their fields: at
// most the first 18 characters, leading blanks and a sign allowed; text
// that does not start with a number reads as 0, a number beyond int as the
// largest (or smallest) int.
int ReadDecimal(const std::string& text);

// The range check of the pages' number fields. An empty field reads as 0,
// as the pages read it, and so passes where 0 is in the range (the page then
// stores its least value).
class NumberFieldValidator : public TRangeValidator {
public:
    using TRangeValidator::TRangeValidator;
    bool IsValid(const std::string& text) const override;
};
