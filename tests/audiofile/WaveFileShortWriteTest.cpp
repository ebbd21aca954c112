// A disk that fills up in the middle of a write, without a small file
// system: mmio picks an installed I/O procedure by the extension before a
// '+' in the file name, so a file named "*.dsk+" goes through a procedure
// that writes to the real file but stops when its budget of bytes is spent.
#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include <climits>
#include <string>

#include "audiofile/WaveFile.h"
#include "tests/audiofile/TempFolder.h"
#include "tests/audiofile/WaveTestSupport.h"

namespace {

// Bytes the disk still takes; LONG_MAX: no limit.
LONG g_diskRoom = LONG_MAX;

HANDLE FileOf(const MMIOINFO* info) { return LongToHandle(static_cast<LONG>(info->adwInfo[0])); }

LRESULT CALLBACK NearlyFullDisk(LPSTR infoBytes, UINT message, LPARAM first, LPARAM second) {
    auto* info = reinterpret_cast<MMIOINFO*>(infoBytes);
    switch (message) {
    case MMIOM_OPEN: {
        const DWORD access = info->dwFlags & MMIO_READWRITE ? GENERIC_READ | GENERIC_WRITE
                             : info->dwFlags & MMIO_WRITE   ? GENERIC_WRITE
                                                            : GENERIC_READ;
        const HANDLE file = CreateFileA(reinterpret_cast<const char*>(first), access,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        info->dwFlags & MMIO_CREATE ? CREATE_ALWAYS : OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return MMIOERR_CANNOTOPEN;
        info->adwInfo[0] = static_cast<DWORD>(HandleToLong(file));
        info->lDiskOffset = 0;
        return MMSYSERR_NOERROR;
    }
    case MMIOM_CLOSE:
        CloseHandle(FileOf(info));
        return 0;
    case MMIOM_READ: {
        DWORD got = 0;
        if (!ReadFile(FileOf(info), reinterpret_cast<void*>(first), static_cast<DWORD>(second), &got, nullptr))
            return -1;
        info->lDiskOffset += static_cast<LONG>(got);
        return static_cast<LONG>(got);
    }
    case MMIOM_WRITE:
    case MMIOM_WRITEFLUSH: {
        const LONG fits = second < g_diskRoom ? static_cast<LONG>(second) : g_diskRoom;
        if (g_diskRoom != LONG_MAX)
            g_diskRoom -= fits;
        DWORD written = 0;
        if (fits > 0 && !WriteFile(FileOf(info), reinterpret_cast<const void*>(first), static_cast<DWORD>(fits),
                                   &written, nullptr))
            return -1;
        info->lDiskOffset += static_cast<LONG>(written);
        return static_cast<LONG>(written);
    }
    case MMIOM_SEEK: {
        const DWORD at = SetFilePointer(FileOf(info), static_cast<LONG>(first), nullptr, static_cast<DWORD>(second));
        if (at == INVALID_SET_FILE_POINTER)
            return -1;
        info->lDiskOffset = static_cast<LONG>(at);
        return static_cast<LONG>(at);
    }
    default:
        return MMSYSERR_NOERROR;
    }
}

const FOURCC kDiskProc = mmioFOURCC('D', 'S', 'K', ' ');

class WaveFileShortWrite : public ::testing::Test {
protected:
    void SetUp() override {
        g_diskRoom = LONG_MAX;
        ASSERT_NE(mmioInstallIOProcA(kDiskProc, NearlyFullDisk, MMIO_INSTALLPROC), nullptr);
    }
    void TearDown() override {
        mmioInstallIOProcA(kDiskProc, nullptr, MMIO_REMOVEPROC);
        g_diskRoom = LONG_MAX;
    }
    TempFolder folder_;
};

std::string Pattern(size_t bytes, char seed) {
    std::string data(bytes, '\0');
    for (size_t i = 0; i < bytes; ++i)
        data[i] = static_cast<char>(seed + i * 7 + (i >> 8));
    return data;
}

// A full disk cuts a write of 16-bit stereo (4-byte blocks) three bytes into
// a block: the data keeps the whole blocks only, a write with less than a
// block of room keeps nothing, and the next write, once there is room, goes
// over the part block so the file holds no torn sample.
TEST_F(WaveFileShortWrite, FullDiskKeepsWholeBlocksOnly) {
    const std::string path = folder_.File("rec.dsk+");
    const WAVEFORMATEX format = PcmFormat(2, 8000, 16);
    const std::string first = Pattern(1000, 1), cut = Pattern(2000, 2), tiny = Pattern(40, 3),
                      after = Pattern(400, 4);
    {
        WaveFile file(path.c_str(), &format, MMIO_READWRITE | MMIO_CREATE);
        ASSERT_TRUE(file.Open());
        ASSERT_EQ(file.Write(first.data(), 1000), 1000);
        g_diskRoom = 1003;
        EXPECT_EQ(file.Write(cut.data(), 2000), 1000);
        EXPECT_EQ(file.GetDataLength(), 2000u);
        g_diskRoom = 3;
        EXPECT_EQ(file.Write(tiny.data(), 40), 0);
        EXPECT_EQ(file.GetDataLength(), 2000u);
        g_diskRoom = LONG_MAX;
        EXPECT_EQ(file.Write(after.data(), 400), 400);
        EXPECT_TRUE(file.Close());
    }
    WaveFile file(path.c_str(), nullptr, MMIO_READ);
    ASSERT_TRUE(file.Open());
    ASSERT_EQ(file.GetDataLength(), 2400u);
    std::string data(2400, '\0');
    ASSERT_TRUE(file.Position(0));
    ASSERT_EQ(file.Read(&data[0], 2400), 2400);
    EXPECT_EQ(data, first + cut.substr(0, 1000) + after);
    file.Close();
}

// One byte per block: every byte the disk took is data.
TEST_F(WaveFileShortWrite, FullDiskKeepsEveryByteOfSingleByteBlocks) {
    const std::string path = folder_.File("mono8.dsk+");
    const WAVEFORMATEX format = PcmFormat(1, 8000, 8);
    const std::string cut = Pattern(500, 5);
    WaveFile file(path.c_str(), &format, MMIO_READWRITE | MMIO_CREATE);
    ASSERT_TRUE(file.Open());
    g_diskRoom = 333;
    EXPECT_EQ(file.Write(cut.data(), 500), 333);
    EXPECT_EQ(file.GetDataLength(), 333u);
    g_diskRoom = LONG_MAX;
    EXPECT_TRUE(file.Close());
}

}  // namespace
