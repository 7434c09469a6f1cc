#include "platform/xaudio/HttpStream.h"

#include "platform/xaudio/CurlLibrary.h"
#include "platform/xaudio/XaudioPlayback.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>

namespace {

std::string trimmed(std::string text) {
    const auto isBlank = [](unsigned char c) { return std::isspace(c) != 0; };
    text.erase(std::find_if_not(text.rbegin(), text.rend(), isBlank).base(), text.end());
    text.erase(text.begin(), std::find_if_not(text.begin(), text.end(), isBlank));
    return text;
}

// prefix in lower case
bool startsWithNoCase(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(),
                      [](char lower, char c) { return std::tolower(static_cast<unsigned char>(c)) == lower; });
}

// "icy-metaint: 8192" -> 8192; 0 for a value that is no sensible interval.
std::size_t metadataInterval(const std::string& value) {
    std::size_t interval = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), interval);
    if (error != std::errc() || end != value.data() + value.size() || interval > 1024 * 1024) return 0;
    return interval;
}

} // namespace

std::chrono::seconds HttpStream::noDataTimeout() {
    // Tests shorten it; a value that is not a positive whole number leaves the default.
    if (const char* text = std::getenv("QUARVEL_STREAM_TIMEOUT")) {
        int seconds = 0;
        const char* end = text + std::char_traits<char>::length(text);
        const auto [last, error] = std::from_chars(text, end, seconds);
        if (error == std::errc() && last == end && seconds > 0) return std::chrono::seconds(seconds);
    }
    return std::chrono::seconds(30);
}

HttpStream::HttpStream(std::string url, std::function<void()> wake)
    : url_(std::move(url)), wake_(std::move(wake)), noDataTimeout_(noDataTimeout()) {
    thread_ = std::thread([this] { fetch(); });
}

HttpStream::~HttpStream() {
    {
        std::lock_guard lock(mutex_);
        abort_ = true;
    }
    roomForData_.notify_all();
    thread_.join();
}

void HttpStream::take(std::vector<std::uint8_t>& into) {
    {
        std::lock_guard lock(mutex_);
        into.swap(buffer_);
        buffer_.clear();
    }
    roomForData_.notify_all();
}

bool HttpStream::hasData() const {
    std::lock_guard lock(mutex_);
    return !buffer_.empty();
}

HttpStream::Status HttpStream::status() const {
    std::lock_guard lock(mutex_);
    return status_;
}

int HttpStream::errorCode() const {
    std::lock_guard lock(mutex_);
    return errorCode_;
}

std::string HttpStream::errorText() const {
    std::lock_guard lock(mutex_);
    return error_;
}

void HttpStream::setStatus(Status status) {
    {
        std::lock_guard lock(mutex_);
        status_ = status;
    }
    wake_();
}

void HttpStream::fail(int code, std::string reason) {
    {
        std::lock_guard lock(mutex_);
        status_ = Status::Failed;
        errorCode_ = code;
        error_ = std::move(reason);
    }
    wake_();
}

void HttpStream::fetch() {
    const CurlLibrary* library = CurlLibrary::instance();
    if (!library) return fail(XA::NetworkUnreachable, CurlLibrary::loadError());
    CURL* curl = library->easyInit();
    if (!curl) return fail(XA::NetworkUnreachable, "the network library could not start");
    char error[CURL_ERROR_SIZE] = {};
    library->easySetopt(curl, CURLOPT_URL, url_.c_str());
    library->easySetopt(curl, CURLOPT_ERRORBUFFER, error);
    library->easySetopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    library->easySetopt(curl, CURLOPT_MAXREDIRS, MaxRedirects);
    library->easySetopt(curl, CURLOPT_NOSIGNAL, 1L);
    library->easySetopt(curl, CURLOPT_CONNECTTIMEOUT, 15L);
    library->easySetopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    library->easySetopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    library->easySetopt(curl, CURLOPT_WRITEFUNCTION, &HttpStream::onData);
    library->easySetopt(curl, CURLOPT_WRITEDATA, this);
    library->easySetopt(curl, CURLOPT_HEADERFUNCTION, &HttpStream::onHeader);
    library->easySetopt(curl, CURLOPT_HEADERDATA, this);
    library->easySetopt(curl, CURLOPT_XFERINFOFUNCTION, &HttpStream::onProgress);
    library->easySetopt(curl, CURLOPT_XFERINFODATA, this);
    library->easySetopt(curl, CURLOPT_NOPROGRESS, 0L);
    lastAudio_ = std::chrono::steady_clock::now();
    const CURLcode result = library->easyPerform(curl);
    library->easyCleanup(curl);
    // libcurl does not stop at every refused header line (not at the status line), so an HTTP
    // error may even end as a complete transfer.
    if (httpError_) return fail(XA::HttpError, "HTTP " + httpStatus_);
    if (result == CURLE_OK) return setStatus(Status::Finished);
    failTransfer(result, error[0] ? error : library->easyStrerror(result));
}

// Names the failure of a transfer: its kind as the component's error code, its reason in words.
void HttpStream::failTransfer(int result, const char* curlText) {
    const std::string reason = trimmed(curlText);
    const bool connected = status() != Status::Connecting;
    switch (result) {
    case CURLE_ABORTED_BY_CALLBACK:
        if (timedOut_)
            return fail(XA::NetworkTimeout, "no data from the server for " + std::to_string(noDataTimeout_.count()) + " s");
        return fail(XA::StreamBroken, reason);
    case CURLE_TOO_MANY_REDIRECTS:
        return fail(XA::TooManyRedirects, "too many redirects (more than " + std::to_string(MaxRedirects) + ")");
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_URL_MALFORMAT: return fail(XA::InputOpenFailed, reason);
    default: return fail(connected ? XA::StreamBroken : XA::NetworkUnreachable, reason);
    }
}

// Every header line of every response, redirects included: each status line starts a response.
// False once the response is an HTTP error: the transfer ends, its body is no audio.
bool HttpStream::readHeader(const std::string& line) {
    if (startsWithNoCase(line, "http/") || startsWithNoCase(line, "icy ")) {
        const std::size_t space = line.find(' ');
        httpStatus_ = space == std::string::npos ? std::string() : trimmed(line.substr(space + 1));
        httpError_ = httpStatus_.size() >= 3 && httpStatus_[0] >= '4' && httpStatus_[0] <= '9';
        icy_.start(0);
    } else if (startsWithNoCase(line, "icy-metaint:")) {
        icy_.start(metadataInterval(trimmed(line.substr(12))));
    }
    return !httpError_;
}

std::size_t HttpStream::onHeader(char* data, std::size_t size, std::size_t count, void* self) {
    auto* stream = static_cast<HttpStream*>(self);
    if (!stream->readHeader(std::string(data, size * count))) return 0;
    bool first = false;
    {
        std::lock_guard lock(stream->mutex_);
        first = stream->status_ == Status::Connecting;
        if (first) stream->status_ = Status::Connected;
    }
    if (first) stream->wake_();
    return size * count;
}

std::size_t HttpStream::onData(char* data, std::size_t size, std::size_t count, void* self) {
    auto* stream = static_cast<HttpStream*>(self);
    const std::size_t bytes = size * count;
    {
        std::unique_lock lock(stream->mutex_);
        stream->roomForData_.wait(lock, [&] { return stream->abort_ || stream->buffer_.size() < BufferLimit; });
        if (stream->abort_ || stream->httpError_) return 0; // ends the transfer
        stream->status_ = Status::Connected;
        stream->icy_.strip(reinterpret_cast<const std::uint8_t*>(data), bytes, stream->buffer_);
    }
    // Counted after the wait: a paused player that leaves the buffer full is no silent server.
    stream->lastAudio_ = std::chrono::steady_clock::now();
    stream->wake_();
    return bytes;
}

// Called by libcurl about once a second even while nothing arrives: the watchdog.
int HttpStream::onProgress(void* self, long long, long long, long long, long long) {
    auto* stream = static_cast<HttpStream*>(self);
    if (std::chrono::steady_clock::now() - stream->lastAudio_ >= stream->noDataTimeout_) {
        stream->timedOut_ = true;
        return 1;
    }
    std::lock_guard lock(stream->mutex_);
    return stream->abort_ ? 1 : 0;
}
