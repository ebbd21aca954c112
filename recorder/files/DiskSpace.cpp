#include "recorder/files/DiskSpace.h"

std::string DriveRootOf(const char* folder) {
    std::string root = "c:\\";
    if (folder && folder[0] && folder[1] == ':')
        root[0] = folder[0];
    return root;
}

bool DiskHasFreeBytes(uint64_t bytes, const char* folder, DiskFreeSpaceExFn freeSpaceEx,
                      DiskFreeSpaceFn legacy) {
    const std::string root = DriveRootOf(folder);
    if (freeSpaceEx) {
        ULARGE_INTEGER available{}, total{}, totalFree{};
        if (!freeSpaceEx(root.c_str(), &available, &total, &totalFree))
            return true;
        if (totalFree.HighPart != 0)
            return true;
        return bytes < totalFree.QuadPart;
    }
    if (!legacy)
        return true;
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
    if (!legacy(root.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters))
        return true;
    // Large volumes pass 4 GiB here: the product is taken in 64 bits.
    return bytes < uint64_t{sectorsPerCluster} * bytesPerSector * freeClusters;
}
