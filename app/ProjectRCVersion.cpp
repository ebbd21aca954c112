#include "app/ProjectRCVersion.h"

#include <cstdio>
#include <cstring>

ProjectRCVersion::ProjectRCVersion(HMODULE module) {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(module, path, sizeof path);
    if (length == 0 || length >= sizeof path) return;
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    if (size == 0) return;
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoA(path, 0, size, block.data())) return;
    void* translation = nullptr;
    UINT translationBytes = 0;
    if (!VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &translation, &translationBytes) ||
        translationBytes < sizeof(DWORD)) {
        return;
    }
    const WORD* pair = static_cast<const WORD*>(translation);
    translation_ = MAKELONG(pair[0], pair[1]);
    block_ = std::move(block);
}

std::string ProjectRCVersion::QueryFor(DWORD translation, const char* name) {
    char query[128];
    const unsigned long printed = (static_cast<unsigned long>(LOWORD(translation)) << 16) | HIWORD(translation);
    snprintf(query, sizeof query, "\\StringFileInfo\\%08lx\\%s", printed, name);
    return query;
}

bool ProjectRCVersion::GetValue(const char* name, std::string& text) const {
    if (block_.empty() || !name) return false;
    void* value = nullptr;
    UINT chars = 0;
    // VerQueryValueA takes a non-const block; it does not write to it.
    void* block = const_cast<BYTE*>(block_.data());
    if (!VerQueryValueA(block, QueryFor(translation_, name).c_str(), &value, &chars) || !value || chars == 0) {
        return false;
    }
    const char* found = static_cast<const char*>(value);
    text.assign(found, strnlen(found, chars));
    return true;
}
