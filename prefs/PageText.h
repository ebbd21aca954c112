// Numbers in the pages' edit fields.
#pragma once

#include <string>

// The leading decimal number of text, as the pages read their fields: at
// most the first 18 characters, leading blanks and a sign allowed; text
// that does not start with a number reads as 0, a number beyond int as the
// largest (or smallest) int.
int ReadDecimal(const std::string& text);
