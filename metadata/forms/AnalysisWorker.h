#pragma once

#include "metadata/Id3TagTexts.h"
#include "platform/xaudio/XaudioAnalyzer.h"

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

// What one stream analysis found: the analyser's result code and its record, the texts copied
// out of the analyser (its own pointers only live until its next run; those in info are null).
struct AnalysisResult {
    int result = 0;
    XA_AnalyzerInfo info{};
    std::optional<std::string> title, artist, album, year, comment;
};

// Runs stream analyses on a thread of its own with its own analyser handle, one at a time.
// A request made while another waits replaces it, and the result of a run that a newer request
// has overtaken is dropped, so only the latest request is delivered. deliver is called on the
// worker's thread.
class AnalysisWorker {
public:
    using Deliver = std::function<void(std::uint64_t generation, AnalysisResult result)>;

    explicit AnalysisWorker(Deliver deliver);
    AnalysisWorker(const AnalysisWorker&) = delete;
    AnalysisWorker& operator=(const AnalysisWorker&) = delete;
    // Drops a waiting request and waits for a running analysis to end; nothing is delivered after.
    ~AnalysisWorker();

    void request(std::uint64_t generation, std::string path);

private:
    struct Request {
        std::uint64_t generation;
        std::string path;
    };

    void run();
    AnalysisResult analyse(const std::string& path);

    Deliver deliver_;
    Id3TagTexts tagTexts_;
    XA_AnalyzerHandle handle_ = nullptr;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::optional<Request> waiting_;
    bool stopping_ = false;
    std::thread thread_;
};
