#include "recorder/files/FileNaming.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "core/AppState.h"
#include "audiofile/FileNames.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Length of a numbering conversion starting at text[at] (a '%'), 0 when the
// characters there are not one.
size_t NumberingConversionLength(const std::string& text, size_t at) {
    size_t i = at + 1;
    while (i < text.size() && text[i] != '\0' && std::strchr("-+ 0#", text[i]))
        ++i;
    for (int digits = 0; digits < 2 && i < text.size() && IsDigit(text[i]); ++digits)
        ++i;
    if (i < text.size() && text[i] == '.') {
        ++i;
        for (int digits = 0; digits < 2 && i < text.size() && IsDigit(text[i]); ++digits)
            ++i;
    }
    if (i < text.size() && (text[i] == 'd' || text[i] == 'i' || text[i] == 'u'))
        return i + 1 - at;
    return 0;
}

std::string WithSeparator(std::string directory) {
    if (!directory.empty() && directory.back() != '\\' && directory.back() != '/')
        directory += '\\';
    return directory;
}

}  // namespace

bool FindNumberingSlot(const std::string& text, NumberingSlot& slot) {
    int found = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%')
            continue;
        if (i + 1 < text.size() && text[i + 1] == '%') {
            ++i;  // "%%" is plain text, and so is the '%' after it
            continue;
        }
        const size_t length = NumberingConversionLength(text, i);
        if (length == 0)
            continue;
        if (++found == 1)
            slot = {i, length};
        i += length - 1;
    }
    return found == 1;
}

std::string FillNumberingSlot(const std::string& text, const NumberingSlot& slot, int number) {
    // The conversion was checked to be flags, two-digit width and precision
    // and d/i/u, so it is safe as a format of its own with one int argument.
    const std::string conversion = text.substr(slot.start, slot.length);
    char digits[256] = {};
    std::snprintf(digits, sizeof digits, conversion.c_str(), number);
    return text.substr(0, slot.start) + digits + text.substr(slot.start + slot.length);
}

NamingSettings NamingSettingsFromAppState() {
    NamingSettings settings;
    settings.defaultDirectory = AppState.DefaultDirectory;
    settings.autoName = AppState.AutoName;
    settings.autoPrompt = AppState.AutoPrompt;
    settings.lhMode = AppState.LHMode;
    return settings;
}

const char* NewFileExtension(int fileType) {
    switch (fileType) {
    case 1: return ".mp3";
    case 3: return ".ogg";
    case 4: return ".spx";
    default: return ".wav";
    }
}

std::string NameBase(const char* base, bool temporary, const NamingSettings& settings) {
    if (temporary)
        return "~rec";
    if (!base || !*base)
        return "rec";
    if ((settings.autoName && !settings.autoPrompt) || std::strchr(base, '%')) {
        const std::string expanded = ExpandTimePatternNow(base);
        return expanded.empty() ? "rec" : expanded;
    }
    return base;
}

std::string NormalizedExtension(const char* extension) {
    if (!extension || !*extension)
        return ".wav";
    return extension[0] == '.' ? std::string(extension) : "." + std::string(extension);
}

std::string PickUniqueName(const std::string& directory, const std::string& base,
                           const std::string& extension, bool plainFirst,
                           const ExistsTest& exists) {
    NumberingSlot slot;
    if (FindNumberingSlot(base, slot)) {
        for (int n = 1; n <= 999; ++n) {
            const std::string candidate = directory + FillNumberingSlot(base, slot, n) + extension;
            if (!exists(candidate))
                return candidate;
        }
    }
    const std::string path = directory + base;
    if (plainFirst && !exists(path + extension))
        return path + extension;
    for (int n = 1; n < 9999; ++n) {
        const std::string candidate = path + "_" + std::to_string(n) + extension;
        if (!exists(candidate))
            return candidate;
    }
    return path + "_9999" + extension;
}

bool PathExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

DirectoryState CheckDirectory(const std::string& directory) {
    if (directory.empty() || !SetCurrentDirectoryA(directory.c_str()))
        return DirectoryState::Missing;
    return IsDirectoryWritable(directory) ? DirectoryState::Usable
                                          : DirectoryState::WriteProtected;
}

const char* DirectoryStateText(DirectoryState state) {
    switch (state) {
    case DirectoryState::Missing: return "Default directory does not exist!";
    case DirectoryState::WriteProtected: return "Default directory is write-protected";
    default: return "";
    }
}

std::string FallbackDirectory() {
    char buffer[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathA(MAX_PATH, buffer);
    if (length > 0 && length < MAX_PATH && SetCurrentDirectoryA(buffer))
        return WithSeparator(buffer);
    std::string module(MAX_PATH, '\0');
    module.resize(GetModuleFileNameA(nullptr, &module[0], MAX_PATH));
    module.erase(module.find_last_of('\\') + 1);  // npos + 1 == 0: empty
    SetCurrentDirectoryA(module.c_str());
    return WithSeparator(module);
}

std::string ComposeFileName(const char* base, bool temporary, const char* extension,
                            const NamingSettings& settings, bool defaultUsable) {
    const std::string directory =
        defaultUsable ? WithSeparator(settings.defaultDirectory) : FallbackDirectory();
    std::string name = PickUniqueName(directory, NameBase(base, temporary, settings),
                                      NormalizedExtension(extension), (settings.lhMode & 1) != 0,
                                      PathExists);
    if (name.size() > kMaxPathChars)
        name.resize(kMaxPathChars);
    return name;
}
