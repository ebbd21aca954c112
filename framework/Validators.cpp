#include "framework/Validators.h"

#include <cerrno>
#include <cstdlib>

#include "framework/Application.h"
#include "framework/UserInteraction.h"

TCharSet::TCharSet(const std::string& chars) {
    const size_t n = chars.size();
    for (size_t i = 0; i < n; ++i) {
        const auto c = static_cast<unsigned char>(chars[i]);
        if (i + 2 < n && chars[i + 1] == '-') {
            const auto last = static_cast<unsigned char>(chars[i + 2]);
            for (unsigned v = c; v <= last; ++v) bits_[v] = true;
            i += 2;
        } else {
            bits_[c] = true;
        }
    }
}

TExceptCharSet::TExceptCharSet(const std::string& chars) {
    bits_.set();
    const size_t n = chars.size();
    for (size_t i = 0; i < n; ++i) {
        const auto c = static_cast<unsigned char>(chars[i]);
        const bool isRange = c == '-' && i > 0 && i + 1 < n;
        if (!isRange) {
            bits_[c] = false;
            continue;
        }
        const auto from = static_cast<unsigned char>(chars[i - 1]);
        const auto to = static_cast<unsigned char>(chars[i + 1]);
        for (unsigned v = from + 1u; v < to; ++v) bits_[v] = false;
    }
}

void TValidator::Error(HWND owner) const {
    TApplication* app = GetApplication();
    const std::string caption = app ? app->GetName() : std::string("Input error");
    Ui().MessageBox(owner, ErrorText(), caption, MB_OK | MB_ICONEXCLAMATION);
}

bool TFilterValidator::IsValid(const std::string& text) const {
    for (char c : text) {
        if (!IsValidInput(c)) return false;
    }
    return true;
}

bool TRangeValidator::IsValid(const std::string& text) const {
    if (text.empty() || !TFilterValidator::IsValid(text)) return false;
    errno = 0;
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (errno == ERANGE || !end || *end != '\0' || end == text.c_str()) return false;
    return value >= min_ && value <= max_;
}

std::string TRangeValidator::ErrorText() const {
    return "Value is not in the range " + std::to_string(min_) + " to " + std::to_string(max_) + ".";
}
