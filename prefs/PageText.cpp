#include "prefs/PageText.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

int ReadDecimal(const std::string& text) {
    const std::string head = text.substr(0, 18);
    errno = 0;
    char* end = nullptr;
    const long long value = std::strtoll(head.c_str(), &end, 10);
    if (end == head.c_str()) return 0;
    // Too large either way: as large as an int goes, which every field's
    // clamp then brings into its range.
    if (value > INT_MAX || (errno == ERANGE && value > 0)) return INT_MAX;
    if (value < INT_MIN || errno == ERANGE) return INT_MIN;
    return static_cast<int>(value);
}

bool NumberFieldValidator::IsValid(const std::string& text) const {
    return TRangeValidator::IsValid(text.empty() ? std::string("0") : text);
}
