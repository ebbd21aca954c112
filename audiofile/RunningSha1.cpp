#include "audiofile/RunningSha1.h"

#include <cstring>
#include <utility>

RunningSha1::~RunningSha1() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        quit_ = true;
    }
    changed_.notify_all();
    if (worker_.joinable())
        worker_.join();
}

void RunningSha1::WaitIdle(std::unique_lock<std::mutex>& lock) {
    changed_.wait(lock, [this] { return queue_.empty() && !hashing_; });
}

void RunningSha1::Init() {
    std::unique_lock<std::mutex> lock(mutex_);
    WaitIdle(lock);
    sha_.Init();
}

void RunningSha1::Update(const void* data, size_t bytes) {
    if (bytes == 0)
        return;
    std::unique_lock<std::mutex> lock(mutex_);
    if (bytes < kThreadedPieceBytes && queue_.empty() && !hashing_) {
        sha_.Update(data, bytes);
        return;
    }
    changed_.wait(lock, [this] { return queue_.size() < kMaxQueued; });
    std::vector<uint8_t> piece;
    if (!spare_.empty()) {
        piece = std::move(spare_.back());
        spare_.pop_back();
    }
    // Copied outside the lock: the worker may hash meanwhile.
    lock.unlock();
    piece.resize(bytes);
    std::memcpy(piece.data(), data, bytes);
    lock.lock();
    queue_.push_back(std::move(piece));
    if (!worker_.joinable()) {
        try {
            worker_ = std::thread(&RunningSha1::Work, this);
        } catch (...) {
            // No thread to be had: hash here, in order.
            while (!queue_.empty()) {
                sha_.Update(queue_.front().data(), queue_.front().size());
                queue_.pop_front();
            }
            return;
        }
    }
    changed_.notify_all();
}

Sha1 RunningSha1::Snapshot() {
    std::unique_lock<std::mutex> lock(mutex_);
    WaitIdle(lock);
    return sha_;
}

void RunningSha1::Work() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return quit_ || !queue_.empty(); });
        if (queue_.empty())
            return;  // quit, with nothing left to hash
        std::vector<uint8_t> piece = std::move(queue_.front());
        queue_.pop_front();
        hashing_ = true;
        lock.unlock();
        sha_.Update(piece.data(), piece.size());
        lock.lock();
        hashing_ = false;
        if (spare_.size() < kMaxQueued)
            spare_.push_back(std::move(piece));
        changed_.notify_all();
    }
}
