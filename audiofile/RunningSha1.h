// The SHA-1 of a stream fed in order. Large pieces (the chunks an edit
// copies) are hashed on a worker thread, so that hashing one chunk overlaps
// reading and writing the next; small pieces (a recording's buffers) are
// hashed at once when nothing is queued. The digest is the same either way.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "audiofile/Sha1.h"

class RunningSha1 {
public:
    RunningSha1() = default;
    ~RunningSha1();
    RunningSha1(const RunningSha1&) = delete;
    RunningSha1& operator=(const RunningSha1&) = delete;

    // Waits for the pieces queued, then starts a new digest.
    void Init();
    // The bytes are copied when queued: the caller may reuse them at once.
    void Update(const void* data, size_t bytes);
    // The digest state after every byte fed so far (waits for the worker).
    Sha1 Snapshot();

    // Pieces from this size on go to the worker.
    static constexpr size_t kThreadedPieceBytes = 256 * 1024;
    // Pieces queued at most: the feeder waits beyond that.
    static constexpr size_t kMaxQueued = 2;

private:
    void Work();
    void WaitIdle(std::unique_lock<std::mutex>& lock);

    Sha1 sha_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::vector<uint8_t>> queue_;
    std::vector<std::vector<uint8_t>> spare_;
    bool hashing_ = false;
    bool quit_ = false;
    std::thread worker_;
};
