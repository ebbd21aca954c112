#include "audiofile/VorbisSetupHeader.h"

#include <ogg/ogg.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};

// Headers of files made by encoders sit in the first few pages; a file
// whose third packet has not come after this much is no Vorbis file of ours.
constexpr long kMostHeaderBytes = 1 << 20;

}  // namespace

std::string ReadVorbisSetupHeader(const std::string& path) {
    std::unique_ptr<FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return {};
    ogg_sync_state sync;
    ogg_sync_init(&sync);
    ogg_stream_state stream{};
    bool streamStarted = false;
    int packets = 0;
    std::string setup;
    long readBytes = 0;
    while (packets < 3 && readBytes < kMostHeaderBytes) {
        ogg_page page;
        const int out = ogg_sync_pageout(&sync, &page);
        if (out == 0) {
            char* buffer = ogg_sync_buffer(&sync, 4096);
            const size_t got = buffer ? std::fread(buffer, 1, 4096, file.get()) : 0;
            if (got == 0)
                break;
            (void)ogg_sync_wrote(&sync, static_cast<long>(got));
            readBytes += static_cast<long>(got);
            continue;
        }
        if (out < 0)
            continue;  // bytes before a page: skipped
        if (!streamStarted) {
            streamStarted = ogg_stream_init(&stream, ogg_page_serialno(&page)) == 0;
            if (!streamStarted)
                break;
        }
        if (ogg_stream_pagein(&stream, &page) != 0)
            continue;  // a page of another stream
        ogg_packet packet;
        while (packets < 3 && ogg_stream_packetout(&stream, &packet) == 1)
            if (++packets == 3)
                setup.assign(reinterpret_cast<const char*>(packet.packet), static_cast<size_t>(packet.bytes));
    }
    if (streamStarted)
        ogg_stream_clear(&stream);
    ogg_sync_clear(&sync);
    return setup;
}
