#include "base/WriteBehind.h"

#include "base/FileHandle.h"

#include <system_error>

WriteBehind::WriteBehind(FileHandle& file, std::vector<std::uint8_t>& memory) : file_(file), memory_(memory) {
    if (memory_.size() < Buffers * ChunkSize) memory_.resize(Buffers * ChunkSize);
}

WriteBehind::~WriteBehind() { stop(); }

std::span<std::uint8_t> WriteBehind::nextBuffer() {
    std::unique_lock lock(mutex_);
    // Chunks are written in turn, so the buffers come free in turn: the next one in the ring is
    // free once fewer than all of them are in use.
    changed_.wait(lock, [this] { return failure_ || inUse_ < Buffers; });
    rethrowFailure();
    return {bufferAt(next_), ChunkSize};
}

void WriteBehind::write(std::size_t length) {
    {
        std::lock_guard lock(mutex_);
        rethrowFailure();
        queue_.push_back({next_, length});
        ++inUse_;
        next_ = (next_ + 1) % Buffers;
    }
    if (thread_.joinable()) {
        changed_.notify_all();
        return;
    }
    // A first chunk waits: if finish() comes next, the file is written without a thread.
    if (queue_.size() < 2) return;
    if (!threadless_) {
        try {
            thread_ = std::thread([this] { run(); });
            changed_.notify_all();
            return;
        } catch (const std::system_error&) {
            threadless_ = true; // no thread to be had (a process at its limit): write here
        }
    }
    writeQueued();
}

void WriteBehind::finish() {
    if (!thread_.joinable()) {
        writeQueued();
        return;
    }
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return failure_ || inUse_ == 0; });
    rethrowFailure();
}

// Without a thread, on the caller's.
void WriteBehind::writeQueued() {
    for (; !queue_.empty(); queue_.pop_front()) file_.write(bufferAt(queue_.front().buffer), queue_.front().length);
    inUse_ = 0;
}

void WriteBehind::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
        if (stopping_) return;
        const Chunk chunk = queue_.front();
        queue_.pop_front();
        lock.unlock();
        try {
            file_.write(bufferAt(chunk.buffer), chunk.length);
        } catch (...) {
            lock.lock();
            failure_ = std::current_exception();
            queue_.clear();
            changed_.notify_all();
            return;
        }
        lock.lock();
        --inUse_;
        changed_.notify_all();
    }
}

void WriteBehind::rethrowFailure() {
    if (failure_) std::rethrow_exception(failure_);
}

void WriteBehind::stop() noexcept {
    if (!thread_.joinable()) return;
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        queue_.clear();
    }
    changed_.notify_all();
    thread_.join();
}
