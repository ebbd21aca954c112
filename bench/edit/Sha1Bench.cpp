// The signature's SHA-1 over one file: this program's engines (the
// processor's SHA instructions where it has them, and the portable code) and
// the system's BCrypt provider, each reading the file in 600000-byte chunks
// as an edit does. Prints per engine the digest and the seconds taken; the
// script compares them with sha1sum on the same file in the same run.
//   sha1_bench FILE
#include <windows.h>
#include <bcrypt.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "audiofile/Sha1.h"

namespace {

using Clock = std::chrono::steady_clock;
using Feed = std::function<void(const void*, size_t)>;

std::string Hex(const unsigned char* digest) {
    std::string text;
    char pair[3];
    for (int i = 0; i < 20; ++i) {
        std::snprintf(pair, sizeof pair, "%02x", digest[i]);
        text += pair;
    }
    return text;
}

// Reads the whole file through feed; the seconds taken, or -1.
double ReadThrough(const char* path, const Feed& feed) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return -1;
    std::vector<char> buffer(600000);
    const Clock::time_point start = Clock::now();
    DWORD got = 0;
    while (ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) && got > 0)
        feed(buffer.data(), got);
    CloseHandle(file);
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void Ours(const char* path, Sha1::Engine engine, const char* name) {
    Sha1 sha(engine);
    const double seconds = ReadThrough(path, [&](const void* data, size_t bytes) { sha.Update(data, bytes); });
    const Sha1::Digest digest = sha.Final();
    std::printf("%-10s %s %.3f\n", name, Hex(digest.data()).c_str(), seconds);
}

void SystemProvider(const char* path) {
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    BCRYPT_HASH_HANDLE hash = nullptr;
    if (BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA1_ALGORITHM, nullptr, 0) != 0 ||
        BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0) != 0) {
        std::printf("bcrypt     unavailable\n");
        return;
    }
    const double seconds = ReadThrough(path, [&](const void* data, size_t bytes) {
        (void)BCryptHashData(hash, static_cast<PUCHAR>(const_cast<void*>(data)), static_cast<ULONG>(bytes), 0);
    });
    unsigned char digest[20] = {};
    (void)BCryptFinishHash(hash, digest, sizeof digest, 0);
    BCryptDestroyHash(hash);
    BCryptCloseAlgorithmProvider(algorithm, 0);
    std::printf("%-10s %s %.3f\n", "bcrypt", Hex(digest).c_str(), seconds);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: sha1_bench FILE\n");
        return 2;
    }
    std::printf("engine     digest                                   seconds (sha-ni %s)\n",
                Sha1::HasShaInstructions() ? "present" : "absent");
    Ours(argv[1], Sha1::Engine::Best, "ours");
    Ours(argv[1], Sha1::Engine::Portable, "portable");
    SystemProvider(argv[1]);
    return 0;
}
