#include "schedule/EventFileName.h"

#include <cctype>
#include <cstring>

namespace {

bool IsUnsafeInFileName(unsigned char c) {
    return c < 0x20 || c == 0x7F || std::strchr("%\\/:*?\"<>|", c) != nullptr;
}

// Length of the part before the first dot, trailing blanks not counted.
size_t StemLength(const std::string& name) {
    size_t length = name.find('.');
    if (length == std::string::npos) length = name.size();
    while (length > 0 && name[length - 1] == ' ') --length;
    return length;
}

// Windows maps these stems to devices whatever extension follows them.
bool IsReservedDeviceName(std::string stem) {
    for (char& c : stem) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL"};
    for (const char* device : kDevices) {
        if (stem == device) return true;
    }
    return stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0) &&
           stem[3] >= '1' && stem[3] <= '9';
}

}  // namespace

std::string EventNameAsFileName(const std::string& name) {
    std::string safe = name;
    for (char& c : safe) {
        if (IsUnsafeInFileName(static_cast<unsigned char>(c))) c = '_';
    }
    const size_t stemLength = StemLength(safe);
    if (IsReservedDeviceName(safe.substr(0, stemLength))) safe.insert(stemLength, "_");
    return safe;
}
