#include "transfer/ParallelDownloads.h"

#include "base/FileError.h"
#include "base/FileHandle.h"
#include "platform/xaudio/CurlLibrary.h"
#include "transfer/CurlHandle.h"

#include <curl/curl.h>

#include <stdexcept>

namespace {

constexpr const char* kProtocols = "http,https,ftp";
constexpr int kPollMilliseconds = 100;

// Errors after which the rest of the file may still come: the connection broke or went quiet.
bool mayResume(CURLcode code) {
    switch (code) {
    case CURLE_PARTIAL_FILE:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_OPERATION_TIMEDOUT:
    case CURLE_GOT_NOTHING:
    case CURLE_HTTP2:
    case CURLE_HTTP2_STREAM:
        return true;
    default:
        return false;
    }
}

// The server cannot start in the middle of the file.
bool cannotResume(CURLcode code) {
    return code == CURLE_RANGE_ERROR || code == CURLE_FTP_COULDNT_USE_REST ||
           code == CURLE_BAD_DOWNLOAD_RESUME;
}

} // namespace

struct ParallelDownloads::Transfer {
    std::uint64_t id = 0;
    std::string address;
    FileHandle* target = nullptr;
    std::uint64_t limit = 0;          // 0: no limit
    std::uint64_t askedLimit = 0;     // the limit the download started with
    std::vector<std::uint8_t> head;   // the first bytes, until the head is complete
    bool headComplete = false;
    std::uint64_t written = 0;
    std::uint64_t writtenBeforeAttempt = 0;
    int fruitless = 0;
    int restarts = 0;
    CurlHandle easy;
    ParallelDownloads* owner = nullptr;
    std::exception_ptr writeError;
    char errorText[CURL_ERROR_SIZE] = {};
};

ParallelDownloads::ParallelDownloads(Limits limits, const std::atomic<bool>* cancel)
    : limits_(limits), cancel_(cancel) {
    multi_ = CurlLibrary::require().multiInit();
    if (!multi_) throw std::runtime_error("the network library could not start");
}

ParallelDownloads::~ParallelDownloads() {
    for (auto& [id, transfer] : transfers_) CurlLibrary::require().multiRemoveHandle(multi_, transfer->easy.get());
    transfers_.clear();
    CurlLibrary::require().multiCleanup(multi_);
}

void ParallelDownloads::start(std::uint64_t id, const std::string& address, FileHandle& target,
                              std::uint64_t limit) {
    auto transfer = std::make_unique<Transfer>();
    transfer->id = id;
    transfer->address = address;
    transfer->target = &target;
    transfer->limit = transfer->askedLimit = limit;
    transfer->owner = this;
    Transfer& added = *transfer;
    transfers_[id] = std::move(transfer);
    launch(added);
}

void ParallelDownloads::launch(Transfer& transfer) {
    const CurlLibrary& curl = CurlLibrary::require();
    CURL* easy = transfer.easy.get();
    transfer.easy.reset();
    transfer.errorText[0] = '\0';
    transfer.writtenBeforeAttempt = transfer.written;
    curl.easySetopt(easy, CURLOPT_URL, transfer.address.c_str());
    curl.easySetopt(easy, CURLOPT_PROTOCOLS_STR, kProtocols);
    curl.easySetopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, kProtocols);
    curl.easySetopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
    curl.easySetopt(easy, CURLOPT_MAXREDIRS, 10L);
    curl.easySetopt(easy, CURLOPT_FAILONERROR, 1L);
    curl.easySetopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl.easySetopt(easy, CURLOPT_USERAGENT, "quarvel");
    curl.easySetopt(easy, CURLOPT_CONNECTTIMEOUT, static_cast<long>(limits_.connect.count()));
    // Fewer than one byte a second for the no-data time ends the attempt.
    curl.easySetopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl.easySetopt(easy, CURLOPT_LOW_SPEED_TIME, static_cast<long>(limits_.noData.count()));
    curl.easySetopt(easy, CURLOPT_SERVER_RESPONSE_TIMEOUT, static_cast<long>(limits_.noData.count()));
    curl.easySetopt(easy, CURLOPT_ERRORBUFFER, transfer.errorText);
    curl.easySetopt(easy, CURLOPT_WRITEFUNCTION, &ParallelDownloads::receive);
    curl.easySetopt(easy, CURLOPT_WRITEDATA, &transfer);
    curl.easySetopt(easy, CURLOPT_PRIVATE, &transfer);
    if (transfer.written > 0)
        curl.easySetopt(easy, CURLOPT_RESUME_FROM_LARGE, static_cast<curl_off_t>(transfer.written));
    else if (transfer.limit > 0)
        curl.easySetopt(easy, CURLOPT_RANGE, ("0-" + std::to_string(transfer.limit - 1)).c_str());
    curl.multiAddHandle(multi_, easy);
}

std::size_t ParallelDownloads::receive(char* data, std::size_t size, std::size_t count, void* opaque) {
    auto& transfer = *static_cast<Transfer*>(opaque);
    std::size_t length = size * count;
    transfer.owner->learnFromHead(transfer, data, length);
    if (transfer.limit > 0) {
        if (transfer.written >= transfer.limit) return 0; // enough: ends the download
        length = static_cast<std::size_t>(std::min<std::uint64_t>(length, transfer.limit - transfer.written));
    }
    try {
        transfer.target->write(data, length);
    } catch (...) {
        transfer.writeError = std::current_exception();
        return 0;
    }
    transfer.written += length;
    if (transfer.owner->bytesArrived_) transfer.owner->bytesArrived_(transfer.id, length);
    return size * count;
}

void ParallelDownloads::learnFromHead(Transfer& transfer, const char* data, std::size_t length) {
    if (!wantedLength_ || transfer.headComplete) return;
    // Until the head is complete, every byte written so far is in it.
    const std::size_t taken = std::min(length, headSize_ - transfer.head.size());
    transfer.head.insert(transfer.head.end(), data, data + taken);
    if (transfer.head.size() < headSize_) return;
    transfer.headComplete = true;
    const std::uint64_t wanted = std::max<std::uint64_t>(wantedLength_(transfer.head), headSize_);
    transfer.limit = transfer.limit > 0 ? std::min(transfer.limit, wanted) : wanted;
    transfer.head = {};
}

ParallelDownloads::Finished ParallelDownloads::next() {
    const CurlLibrary& curl = CurlLibrary::require();
    for (;;) {
        if (cancel_ && cancel_->load()) return {0, Outcome::Cancelled, {}};
        if (transfers_.empty()) throw std::logic_error("no download is running");
        int stillRunning = 0;
        curl.multiPerform(multi_, &stillRunning);
        int queued = 0;
        while (CURLMsg* message = curl.multiInfoRead(multi_, &queued)) {
            if (message->msg != CURLMSG_DONE) continue;
            Transfer* transfer = nullptr;
            curl.easyGetinfo(message->easy_handle, CURLINFO_PRIVATE, &transfer);
            const int code = message->data.result;
            curl.multiRemoveHandle(multi_, transfer->easy.get());
            if (auto finished = settle(*transfer, code)) {
                const std::exception_ptr writeError = transfer->writeError;
                transfers_.erase(finished->id);
                if (writeError) std::rethrow_exception(writeError);
                return *finished;
            }
        }
        curl.multiPoll(multi_, nullptr, 0, kPollMilliseconds, nullptr);
    }
}

std::optional<ParallelDownloads::Finished> ParallelDownloads::settle(Transfer& transfer, int result) {
    const auto code = static_cast<CURLcode>(result);
    Finished finished{transfer.id, Outcome::Done, {}};
    if (transfer.writeError) return finished;
    if (code == CURLE_OK || (transfer.limit > 0 && transfer.written >= transfer.limit)) return finished;
    long status = 0;
    CurlLibrary::require().easyGetinfo(transfer.easy.get(), CURLINFO_RESPONSE_CODE, &status);
    finished.detail = transfer.errorText[0] ? transfer.errorText : CurlLibrary::require().easyStrerror(code);
    if (code == CURLE_REMOTE_FILE_NOT_FOUND ||
        (code == CURLE_HTTP_RETURNED_ERROR && (status == 404 || status == 410))) {
        finished.outcome = Outcome::Missing;
        return finished;
    }
    const bool resumable = mayResume(code);
    const bool restart = cannotResume(code) && transfer.written > 0;
    if (!resumable && !restart) {
        finished.outcome = Outcome::Failed;
        return finished;
    }
    transfer.fruitless = transfer.written > transfer.writtenBeforeAttempt ? 0 : transfer.fruitless + 1;
    // A server that both breaks off and cannot resume would otherwise be asked for ever.
    if (restart) ++transfer.restarts;
    if (transfer.fruitless >= limits_.fruitlessAttempts || transfer.restarts > limits_.fruitlessAttempts) {
        finished.outcome = Outcome::Failed;
        return finished;
    }
    if (restart) {
        transfer.target->truncate(0);
        transfer.target->seek(0);
        transfer.written = 0;
        transfer.limit = transfer.askedLimit;
        transfer.head.clear();
        transfer.headComplete = false;
    }
    launch(transfer);
    return std::nullopt;
}
