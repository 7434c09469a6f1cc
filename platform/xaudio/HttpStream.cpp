#include "platform/xaudio/HttpStream.h"

#include "platform/xaudio/CurlLibrary.h"

HttpStream::HttpStream(std::string url, std::function<void()> wake) : url_(std::move(url)), wake_(std::move(wake)) {
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

std::string HttpStream::errorText() const {
    std::lock_guard lock(mutex_);
    return error_;
}

void HttpStream::setStatus(Status status, std::string error) {
    {
        std::lock_guard lock(mutex_);
        status_ = status;
        error_ = std::move(error);
    }
    wake_();
}

void HttpStream::fetch() {
    const CurlLibrary* library = CurlLibrary::instance();
    if (!library) {
        setStatus(Status::Failed, CurlLibrary::loadError());
        return;
    }
    CURL* curl = library->easyInit();
    if (!curl) {
        setStatus(Status::Failed, "the network library could not start");
        return;
    }
    char error[CURL_ERROR_SIZE] = {};
    library->easySetopt(curl, CURLOPT_URL, url_.c_str());
    library->easySetopt(curl, CURLOPT_ERRORBUFFER, error);
    library->easySetopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    library->easySetopt(curl, CURLOPT_MAXREDIRS, 5L);
    library->easySetopt(curl, CURLOPT_FAILONERROR, 1L);
    library->easySetopt(curl, CURLOPT_NOSIGNAL, 1L);
    library->easySetopt(curl, CURLOPT_CONNECTTIMEOUT, 15L);
    library->easySetopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    library->easySetopt(curl, CURLOPT_WRITEFUNCTION, &HttpStream::onData);
    library->easySetopt(curl, CURLOPT_WRITEDATA, this);
    library->easySetopt(curl, CURLOPT_HEADERFUNCTION, &HttpStream::onHeader);
    library->easySetopt(curl, CURLOPT_HEADERDATA, this);
    library->easySetopt(curl, CURLOPT_XFERINFOFUNCTION, &HttpStream::onProgress);
    library->easySetopt(curl, CURLOPT_XFERINFODATA, this);
    library->easySetopt(curl, CURLOPT_NOPROGRESS, 0L);
    const CURLcode result = library->easyPerform(curl);
    library->easyCleanup(curl);
    if (result == CURLE_OK)
        setStatus(Status::Finished);
    else
        setStatus(Status::Failed, error[0] ? error : library->easyStrerror(result));
}

std::size_t HttpStream::onHeader(char*, std::size_t size, std::size_t count, void* self) {
    auto* stream = static_cast<HttpStream*>(self);
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
        if (stream->abort_) return 0; // ends the transfer
        stream->status_ = Status::Connected;
        stream->buffer_.insert(stream->buffer_.end(), data, data + bytes);
    }
    stream->wake_();
    return bytes;
}

int HttpStream::onProgress(void* self, long long, long long, long long, long long) {
    auto* stream = static_cast<HttpStream*>(self);
    std::lock_guard lock(stream->mutex_);
    return stream->abort_ ? 1 : 0;
}
