// The header rewrite of a finished Ogg file through a temporary file.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "audiofile/FileNames.h"
#include "audiofile/OggFile.h"

namespace {

class PageReader {
public:
    explicit PageReader(FILE* file) : file_(file) { ogg_sync_init(&sync_); }
    ~PageReader() { ogg_sync_clear(&sync_); }
    PageReader(const PageReader&) = delete;
    PageReader& operator=(const PageReader&) = delete;
    bool Next(ogg_page& page) {
        for (;;) {
            const int got = ogg_sync_pageout(&sync_, &page);
            if (got == 1)
                return true;
            if (got < 0)
                continue;
            char* buffer = ogg_sync_buffer(&sync_, 4096);
            const size_t read = fread(buffer, 1, 4096, file_);
            if (read == 0)
                return false;
            ogg_sync_wrote(&sync_, static_cast<long>(read));
        }
    }

private:
    FILE* file_;
    ogg_sync_state sync_;
};

bool PutPage(FILE* file, const ogg_page& page) {
    return fwrite(page.header, 1, static_cast<size_t>(page.header_len), file) ==
               static_cast<size_t>(page.header_len) &&
           fwrite(page.body, 1, static_cast<size_t>(page.body_len), file) ==
               static_cast<size_t>(page.body_len);
}

std::string TempNameBeside(const std::string& path) {
    std::string directory = path;
    for (char& c : directory)
        if (c == '\\')
            c = '/';
    const size_t slash = directory.rfind('/');
    directory = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    std::string name;
    if (!MakeUniqueFileName("foo", "tmp", name, true, directory))
        return std::string();
    return name;
}

// Copies the source into the target with the new comment packet; false
// when the headers cannot be paged afresh.
bool CopyWithComment(FILE* source, FILE* target, const OggOwnedPacket& comment, int headerPackets) {
    PageReader reader(source);
    ogg_page page;
    if (!reader.Next(page))
        return false;
    const int serial = ogg_page_serialno(&page);
    ogg_stream_state in, out;
    ogg_stream_init(&in, serial);
    ogg_stream_init(&out, serial);
    bool ok = true;
    int taken = 0;
    bool first = true;
    // Header packets, each put out afresh; the old comment is replaced.
    while (ok && taken < headerPackets) {
        if (!first && !reader.Next(page)) {
            ok = false;
            break;
        }
        first = false;
        if (ogg_page_serialno(&page) != serial)
            continue;
        ogg_stream_pagein(&in, &page);
        ogg_packet packet;
        while (ok && taken < headerPackets && ogg_stream_packetout(&in, &packet) == 1) {
            if (taken == 1) {
                ogg_packet fresh = comment.packet;
                fresh.b_o_s = fresh.e_o_s = 0;
                fresh.granulepos = 0;
                fresh.packetno = 1;
                ok = ogg_stream_packetin(&out, &fresh) == 0;
            } else {
                packet.packetno = taken;
                packet.granulepos = 0;
                ok = ogg_stream_packetin(&out, &packet) == 0;
            }
            ++taken;
            // The identification header has a page of its own.
            ogg_page built;
            if (ok && taken == 1)
                while (ogg_stream_flush(&out, &built) != 0)
                    ok = ok && PutPage(target, built);
        }
    }
    // Audio must begin on a page of its own, or it cannot be moved as pages.
    ogg_packet left;
    if (ok && ogg_stream_packetpeek(&in, &left) != 0)
        ok = false;
    ogg_page built;
    while (ok && ogg_stream_flush(&out, &built) != 0)
        ok = PutPage(target, built);
    long pageNumber = out.pageno;
    while (ok && reader.Next(page)) {
        if (ogg_page_serialno(&page) != serial)
            continue;
        if (pageNumber == out.pageno && ogg_page_continued(&page)) {
            ok = false;
            break;
        }
        unsigned char* header = page.header;
        header[18] = static_cast<unsigned char>(pageNumber);
        header[19] = static_cast<unsigned char>(pageNumber >> 8);
        header[20] = static_cast<unsigned char>(pageNumber >> 16);
        header[21] = static_cast<unsigned char>(pageNumber >> 24);
        ogg_page_checksum_set(&page);
        ok = PutPage(target, page);
        ++pageNumber;
    }
    ogg_stream_clear(&in);
    ogg_stream_clear(&out);
    return ok;
}

}  // namespace

bool RewriteOggHeaders(const std::string& path, const OggOwnedPacket& comment, int headerPackets) {
    FILE* source = fopen(path.c_str(), "rb");
    if (!source)
        return false;
    const std::string tempName = TempNameBeside(path);
    FILE* target = tempName.empty() ? nullptr : fopen(tempName.c_str(), "wb");
    if (!target) {
        fclose(source);
        return false;
    }
    bool ok = CopyWithComment(source, target, comment, headerPackets);
    fclose(source);
    if (fclose(target) != 0)
        ok = false;
    // One move replaces the recording; a failed move leaves it untouched.
    if (ok)
        ok = MoveFileExA(tempName.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED) != 0;
    if (!ok)
        DeleteFileA(tempName.c_str());
    return ok;
}
