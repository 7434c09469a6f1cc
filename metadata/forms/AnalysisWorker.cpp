#include "metadata/forms/AnalysisWorker.h"

namespace {

std::optional<std::string> copyText(const char* text) {
    if (!text) return std::nullopt;
    return std::string(text);
}

} // namespace

AnalysisWorker::AnalysisWorker(Deliver deliver) : deliver_(std::move(deliver)) {
    if (xanalyzer_new(&handle_) == 0) xanalyzer_set_tag_source(handle_, &tagTexts_);
    thread_ = std::thread([this] { run(); });
}

AnalysisWorker::~AnalysisWorker() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        waiting_.reset();
    }
    wake_.notify_one();
    thread_.join();
    if (handle_) xanalyzer_delete(handle_);
    handle_ = nullptr;
}

void AnalysisWorker::request(std::uint64_t generation, std::string path) {
    {
        std::lock_guard lock(mutex_);
        waiting_ = Request{generation, std::move(path)};
    }
    wake_.notify_one();
}

void AnalysisWorker::run() {
    for (;;) {
        Request next;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || waiting_; });
            if (stopping_) return;
            next = std::move(*waiting_);
            waiting_.reset();
        }
        AnalysisResult result = analyse(next.path);
        std::lock_guard lock(mutex_);
        // Delivering under the lock keeps the destructor from finishing in between.
        if (stopping_ || waiting_) continue;
        deliver_(next.generation, std::move(result));
    }
}

AnalysisResult AnalysisWorker::analyse(const std::string& path) {
    AnalysisResult found;
    if (!handle_) {
        found.result = -1;
        return found;
    }
    found.result = xanalyzer_process_file(handle_, path.c_str(), 0, 0, &found.info, 0, 0, 0);
    if (found.result != 0) return found;
    found.title = copyText(found.info.title);
    found.artist = copyText(found.info.artist);
    found.album = copyText(found.info.album);
    found.year = copyText(found.info.year);
    found.comment = copyText(found.info.comment);
    found.info.title = found.info.artist = found.info.album = found.info.year = found.info.comment = nullptr;
    return found;
}
