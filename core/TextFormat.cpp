#include "core/TextFormat.h"

#include "core/TimePattern.h"

#include <cstdio>
#include <vector>

std::string FormatTime(const char* format, time_t when) {
    if (!format) return {};
    if (when == 0) when = time(nullptr);
    const struct tm* local = localtime(&when);  // one thread: the shared result is safe
    if (!local) return {};
    return ExpandTimePattern(format, *local);
}

std::string FormatStringV(const char* format, va_list args) {
    if (!format) return {};
    std::vector<char> buffer(256);
    for (;;) {
        va_list copy;
        va_copy(copy, args);
        const int length = vsnprintf(buffer.data(), buffer.size(), format, copy);
        va_end(copy);
        if (length < 0) return {};  // an encoding error: nothing sensible to show
        if (static_cast<size_t>(length) < buffer.size()) return std::string(buffer.data(), static_cast<size_t>(length));
        buffer.resize(buffer.size() * 2);
    }
}

std::string FormatString(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text = FormatStringV(format, args);
    va_end(args);
    return text;
}
