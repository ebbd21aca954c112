#include "prefs/formats/FormatStorage.h"

#include <cstring>
#include <vector>

namespace {

constexpr std::size_t kHeaderBytes = sizeof(WAVEFORMATEX);  // 18

std::size_t UsableSize(int bufferSize) {
    if (bufferSize <= 0 || bufferSize > kMaxFormatSize) return kMaxFormatSize;
    return static_cast<std::size_t>(bufferSize);
}

// The size a record claims for itself: its header and its extra bytes.
std::size_t ClaimedSize(const BYTE* bytes) {
    WAVEFORMATEX header;
    std::memcpy(&header, bytes, kHeaderBytes);
    return kHeaderBytes + header.cbSize;
}

}  // namespace

bool LoadFormatRecord(const SettingsStore& store, const char* name, FormatBuffer& buffer,
                      int bufferSize, const void* defaultFormat, std::size_t defaultSize) {
    std::size_t capacity = UsableSize(bufferSize);
    std::vector<BYTE> read(capacity, 0);
    std::size_t got = store.GetBlob(name, read.data(), capacity);
    if (got >= kHeaderBytes && ClaimedSize(read.data()) <= got) {
        std::memcpy(buffer.bytes, read.data(), got);
        return true;
    }
    std::memcpy(buffer.bytes, defaultFormat, defaultSize);
    return false;
}

bool SaveFormatRecord(const SettingsStore& store, const char* name, const FormatBuffer& buffer,
                      int bufferSize) {
    std::size_t capacity = UsableSize(bufferSize);
    if (store.UsesIni()) return store.SetBlob(name, buffer.bytes, capacity);
    std::size_t size = ClaimedSize(buffer.bytes);
    return store.SetBlob(name, buffer.bytes, size < capacity ? size : capacity);
}
