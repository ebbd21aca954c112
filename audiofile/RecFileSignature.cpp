// The recording signature: SHA-1 over a salt, the audio data in file order
// and the segment records.
#include <algorithm>

#include "audiofile/RecFile.h"

namespace {

const char kSalt[] = "mivrad";  // hashed without its terminating zero

void StartDigest(Sha1& digest) {
    digest.Init();
    digest.Update(kSalt, sizeof kSalt - 1);
}

}  // namespace

void RecFile::StartRunningDigest() {
    runningDigest_.Init();
    runningDigest_.Update(kSalt, sizeof kSalt - 1);
    digestInOrder_ = true;
    digestedBytes_ = 0;
}

void RecFile::FeedRunningDigest(const void* data, uint32_t bytes, uint32_t positionBefore) {
    if (!newFile_ || !digestInOrder_)
        return;
    // Only appends in file order keep the running digest equal to the file;
    // anything else is signed by reading the audio back.
    if (positionBefore != digestedBytes_) {
        digestInOrder_ = false;
        return;
    }
    runningDigest_.Update(data, bytes);
    digestedBytes_ += bytes;
}

void RecFile::DigestSegments(Sha1& digest) const {
    for (const TimeCodeRec& segment : SegmentsWorthWriting()) {
        uint8_t record[16] = {};
        for (int i = 0; i < 4; ++i)
            record[i] = static_cast<uint8_t>(segment.position >> (8 * i));
        const uint64_t timeCode = static_cast<uint64_t>(segment.timeCode);
        for (int i = 0; i < 8; ++i)
            record[8 + i] = static_cast<uint8_t>(timeCode >> (8 * i));
        digest.Update(record, sizeof record);
    }
}

bool RecFile::DigestFileAudio(Sha1& digest) {
    const uint32_t remembered = GetPosition();
    if (!Position(0))
        return false;
    bool ok = true;
    char buffer[1000];
    for (;;) {
        const int32_t got = Read(buffer, sizeof buffer);
        if (got <= 0) {
            ok = got == 0;
            break;
        }
        digest.Update(buffer, static_cast<size_t>(got));
    }
    if (!Position(remembered))
        ok = false;
    return ok;
}

RecordingSignature RecFile::ComputeSignature() {
    Sha1 digest;
    if (digestInOrder_ && digestedBytes_ == GetDataLength()) {
        digest = runningDigest_.Snapshot();  // a copy: the running state goes on unchanged
    } else {
        StartDigest(digest);
        if (!DigestFileAudio(digest))
            return RecordingSignature{};
    }
    DigestSegments(digest);
    return digest.Final();
}

SignatureCheck RecFile::VerifySignature() {
    if (std::all_of(signature_.begin(), signature_.end(), [](uint8_t b) { return b == 0; }))
        return SignatureCheck::Unsigned;
    Sha1 digest;
    StartDigest(digest);
    if (!DigestFileAudio(digest))
        return SignatureCheck::ReadFailed;
    DigestSegments(digest);
    return digest.Final() == signature_ ? SignatureCheck::Match : SignatureCheck::Mismatch;
}
