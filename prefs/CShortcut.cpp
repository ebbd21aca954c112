#include "prefs/CShortcut.h"

#include <objbase.h>
#include <shlobj.h>
#include <shellapi.h>

#include <cstdio>
#include <vector>

#include "framework/Owned.h"

namespace {

template <class I>
void ReleaseCom(I* object) {
    object->Release();
}
using LinkObject = Owned<IShellLinkA*, ReleaseCom<IShellLinkA>>;
using LinkFile = Owned<IPersistFile*, ReleaseCom<IPersistFile>>;

std::string& RedirectRoot() {
    static std::string root;
    return root;
}

std::wstring Wide(const std::string& text) {
    const int chars = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    if (chars <= 0) return std::wstring();
    std::wstring wide(static_cast<size_t>(chars), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], chars);
    wide.resize(static_cast<size_t>(chars - 1));
    return wide;
}

std::string ThisProgram() {
    char path[MAX_PATH] = {};
    const DWORD got = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return got > 0 && got < MAX_PATH ? std::string(path) : std::string();
}

// A shell link object and its file interface; both null on failure.
bool MakeLink(LinkObject& link, LinkFile& file) {
    IShellLinkA* made = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  reinterpret_cast<void**>(&made));
    if (FAILED(hr) || !made) return false;
    link.reset(made);
    IPersistFile* persist = nullptr;
    hr = made->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist));
    if (FAILED(hr) || !persist) return false;
    file.reset(persist);
    return true;
}

}  // namespace

CShortcut::CShortcut() {
    const HRESULT hr = CoInitialize(nullptr);
    // S_FALSE: already set up on this thread; it still needs its release.
    comReady_ = SUCCEEDED(hr);
}

CShortcut::~CShortcut() {
    if (comReady_) CoUninitialize();
}

void CShortcut::RedirectFolders(const std::string& root) { RedirectRoot() = root; }

bool CShortcut::GetFolderPath(int folder, std::string& path) {
    char buffer[MAX_PATH] = {};
    if (!RedirectRoot().empty()) {
        std::snprintf(buffer, sizeof buffer, "%s\\%x", RedirectRoot().c_str(), static_cast<unsigned>(folder));
        CreateDirectoryA(buffer, nullptr);
        path = std::string(buffer) + "\\";
        return true;
    }
    const int code = folder == kQuickLaunch ? CSIDL_APPDATA : folder;
    if (!SHGetSpecialFolderPathA(nullptr, buffer, code, FALSE)) return false;
    path = buffer;
    if (path.empty()) return false;
    if (path.back() != '\\') path += '\\';
    if (folder == kQuickLaunch) path += "Microsoft\\Internet Explorer\\Quick Launch\\";
    return true;
}

std::string CShortcut::LinkPath(const std::string& linkName, int folder) {
    std::string path;
    if (!GetFolderPath(folder, path)) return std::string();
    return path + linkName + ".lnk";
}

bool CShortcut::CreateLink(const std::string& target, const std::string& linkName, int folder,
                           const std::string& description, const std::string& iconFile, int iconIndex) {
    const std::string linkPath = LinkPath(linkName, folder);
    const std::string targetPath = target == kThisProgram ? ThisProgram() : target;
    if (linkPath.empty() || targetPath.empty()) return false;
    LinkObject link;
    LinkFile file;
    if (!MakeLink(link, file)) return false;
    if (FAILED(link.get()->SetPath(targetPath.c_str()))) return false;
    if (!description.empty()) link.get()->SetDescription(description.c_str());
    if (!iconFile.empty()) link.get()->SetIconLocation(iconFile.c_str(), iconIndex);
    return SUCCEEDED(file.get()->Save(Wide(linkPath).c_str(), TRUE));
}

bool CShortcut::DeleteLink(const std::string& linkName, int folder) {
    const std::string linkPath = LinkPath(linkName, folder);
    if (linkPath.empty()) return false;
    // The shell wants a list of paths ended by an empty one.
    std::vector<char> from(linkPath.begin(), linkPath.end());
    from.push_back('\0');
    from.push_back('\0');
    SHFILEOPSTRUCTA operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.data();
    // No question, no progress, no error box: nothing may block here.
    operation.fFlags = FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    return SHFileOperationA(&operation) == 0 && !operation.fAnyOperationsAborted &&
           GetFileAttributesA(linkPath.c_str()) == INVALID_FILE_ATTRIBUTES;
}

long CShortcut::FindLink(const std::string& linkName, int folder) {
    const std::string linkPath = LinkPath(linkName, folder);
    if (linkPath.empty()) return E_FAIL;
    if (GetFileAttributesA(linkPath.c_str()) == INVALID_FILE_ATTRIBUTES) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    LinkObject link;
    LinkFile file;
    if (!MakeLink(link, file)) return E_FAIL;
    HRESULT hr = file.get()->Load(Wide(linkPath).c_str(), STGM_READ);
    if (FAILED(hr)) return hr;
    // No window and no search of the drives for a moved target; checking a
    // link never rewrites it.
    hr = link.get()->Resolve(nullptr, SLR_NO_UI | SLR_NOUPDATE | SLR_NOSEARCH | SLR_NOTRACK);
    if (hr != S_OK) return FAILED(hr) ? hr : E_FAIL;
    // Some shells resolve a link whose target is gone: look for it ourselves.
    char target[MAX_PATH] = {};
    hr = link.get()->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
    if (FAILED(hr) || target[0] == '\0') return E_FAIL;
    return GetFileAttributesA(target) == INVALID_FILE_ATTRIBUTES ? HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) : 0;
}
