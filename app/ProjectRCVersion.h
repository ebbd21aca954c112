// ProjectRCVersion: the version block of a module, read whole, and its texts
// by name in the block's first translation.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class ProjectRCVersion {
public:
    // module: null for the program itself.
    explicit ProjectRCVersion(HMODULE module = nullptr);
    virtual ~ProjectRCVersion() = default;

    bool HasBlock() const { return !block_.empty(); }
    // Language in the low 16 bits, code page in the high 16 bits; 0 without a block.
    DWORD Translation() const { return translation_; }

    // Each: true with the text when the block has the value.
    bool GetProductName(std::string& text) const { return GetValue("ProductName", text); }
    bool GetProductVersion(std::string& text) const { return GetValue("ProductVersion", text); }
    bool GetLegalCopyright(std::string& text) const { return GetValue("LegalCopyright", text); }
    bool GetSpecialBuild(std::string& text) const { return GetValue("SpecialBuild", text); }
    bool GetValue(const char* name, std::string& text) const;

    // "\StringFileInfo\llllcccc\name": the language in the high half of the
    // printed number, the code page in the low half.
    static std::string QueryFor(DWORD translation, const char* name);

private:
    std::vector<BYTE> block_;
    DWORD translation_ = 0;
};
