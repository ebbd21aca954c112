// Takes LAME's MP3 encoder out of this process's codec list while it lives,
// so that only Wine's MP3 decoder is left, and adds it again afterwards (as
// a driver of this process). Added that way, the driver looks for its
// settings file in the current folder and leaves an empty lame_acm.xml there
// (under CTest: the build's tests folder).
#pragma once

#include <windows.h>
#include <mmsystem.h>
#include <mmreg.h>
#include <msacm.h>

#include <cstring>
#include <vector>

class WithoutMp3Encoder {
public:
    WithoutMp3Encoder() {
        acmDriverEnum(CollectLame, reinterpret_cast<DWORD_PTR>(&removed_), 0);
        for (HACMDRIVERID id : removed_)
            acmDriverRemove(id, 0);
        removedOne_ = !removed_.empty();
    }
    ~WithoutMp3Encoder() { Restore(); }
    bool RemovedOne() const { return removedOne_; }
    bool Restore() {
        if (removed_.empty())
            return true;
        removed_.clear();
        HMODULE module = LoadLibraryA("lameACM.acm");
        FARPROC proc = module ? GetProcAddress(module, "DriverProc") : nullptr;
        HACMDRIVERID id = nullptr;
        return proc && acmDriverAddA(&id, module, reinterpret_cast<LPARAM>(proc), 0, ACM_DRIVERADDF_FUNCTION) == 0;
    }

private:
    static BOOL CALLBACK CollectLame(HACMDRIVERID id, DWORD_PTR instance, DWORD) {
        ACMDRIVERDETAILSA details{};
        details.cbStruct = sizeof details;
        if (acmDriverDetailsA(id, &details, 0) == 0 && std::strstr(details.szShortName, "LAME"))
            reinterpret_cast<std::vector<HACMDRIVERID>*>(instance)->push_back(id);
        return TRUE;
    }
    std::vector<HACMDRIVERID> removed_;
    bool removedOne_ = false;
};

// Takes every MP3 codec but LAME's encoder out of this process's codec list
// while it lives (Wine's decoders), so that a frame no encoder format fits
// has no codec at all, and adds Wine's decoder again afterwards.
class WithoutMp3Decoders {
public:
    WithoutMp3Decoders() {
        acmDriverEnum(CollectDecoders, reinterpret_cast<DWORD_PTR>(&removed_), 0);
        for (HACMDRIVERID id : removed_)
            acmDriverRemove(id, 0);
    }
    ~WithoutMp3Decoders() {
        if (removed_.empty())
            return;
        HMODULE module = LoadLibraryA("l3codeca.acm");  // Wine's MP3 decoder
        FARPROC proc = module ? GetProcAddress(module, "DriverProc") : nullptr;
        HACMDRIVERID id = nullptr;
        if (proc)
            acmDriverAddA(&id, module, reinterpret_cast<LPARAM>(proc), 0, ACM_DRIVERADDF_FUNCTION);
    }
    bool RemovedOne() const { return !removed_.empty(); }

private:
    static BOOL CALLBACK CollectDecoders(HACMDRIVERID id, DWORD_PTR instance, DWORD) {
        ACMDRIVERDETAILSA details{};
        details.cbStruct = sizeof details;
        if (acmDriverDetailsA(id, &details, 0) == 0 && !std::strstr(details.szShortName, "LAME") &&
            (std::strstr(details.szShortName, "MPEG") || std::strstr(details.szShortName, "MP3")))
            reinterpret_cast<std::vector<HACMDRIVERID>*>(instance)->push_back(id);
        return TRUE;
    }
    std::vector<HACMDRIVERID> removed_;
};
