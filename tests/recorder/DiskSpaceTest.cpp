// The free-space test against scripted volume queries.
#include "recorder/files/DiskSpace.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr uint64_t kGiB = uint64_t{1} << 30;

std::string askedRoot;
uint64_t freeBytes = 0;
DWORD freeClusters = 0;
BOOL answer = TRUE;

BOOL WINAPI FreeSpaceEx(LPCSTR root, PULARGE_INTEGER available, PULARGE_INTEGER total, PULARGE_INTEGER totalFree) {
    askedRoot = root ? root : "(null)";
    available->QuadPart = freeBytes;
    total->QuadPart = freeBytes * 2;
    totalFree->QuadPart = freeBytes;
    return answer;
}

// 64 sectors of 4096 bytes per cluster.
BOOL WINAPI FreeSpace(LPCSTR root, LPDWORD sectorsPerCluster, LPDWORD bytesPerSector, LPDWORD free,
                      LPDWORD clusters) {
    askedRoot = root ? root : "(null)";
    *sectorsPerCluster = 64;
    *bytesPerSector = 4096;
    *free = freeClusters;
    *clusters = freeClusters * 2;
    return answer;
}

TEST(DiskSpaceTest, TotalFreeBytesOfTheDefaultFoldersDrive) {
    answer = TRUE;
    freeBytes = 5 * kGiB;  // room for any file
    EXPECT_TRUE(DiskHasFreeBytes(0xFFFFFFFFu, "d:\\Recordings", FreeSpaceEx));
    EXPECT_EQ(askedRoot, "d:\\");
    EXPECT_TRUE(DiskHasFreeBytes(6 * kGiB, "", FreeSpaceEx));
    EXPECT_EQ(askedRoot, "c:\\");

    freeBytes = 1000000;
    EXPECT_TRUE(DiskHasFreeBytes(999999, "\\\\server\\share", FreeSpaceEx));
    EXPECT_EQ(askedRoot, "c:\\");
    EXPECT_FALSE(DiskHasFreeBytes(1000000, "e:\\", FreeSpaceEx));

    answer = FALSE;
    EXPECT_TRUE(DiskHasFreeBytes(5 * kGiB, "e:\\", FreeSpaceEx));
}

TEST(DiskSpaceTest, FreeClustersCountPastFourGiB) {
    answer = TRUE;
    freeClusters = 20000;  // 5 242 880 000 bytes
    EXPECT_TRUE(DiskHasFreeBytes(0xFFFFFFFFu, "f:\\x", nullptr, FreeSpace));
    EXPECT_EQ(askedRoot, "f:\\");
    EXPECT_FALSE(DiskHasFreeBytes(uint64_t{20000} * 64 * 4096, "f:\\x", nullptr, FreeSpace));

    answer = FALSE;
    EXPECT_TRUE(DiskHasFreeBytes(5 * kGiB, "f:\\x", nullptr, FreeSpace));
}

}  // namespace
