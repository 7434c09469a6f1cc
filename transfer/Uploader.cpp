#include "transfer/Uploader.h"

#include "platform/xaudio/CurlLibrary.h"

#include "base/FileError.h"
#include "base/TextFormat.h"

#include <algorithm>

Uploader::Uploader(UploadRequest request, UploadListener& listener)
    : request_(std::move(request)), listener_(listener) {}

// The set's count includes what the file being sent has done so far.
void Uploader::report() {
    UploadProgress shown = progress_;
    shown.setDone += progress_.fileDone;
    listener_.progress(shown);
}

bool Uploader::fail(const std::string& message) {
    listener_.failed(message);
    return false;
}

bool Uploader::upload(const UploadSet& set) {
    std::string problem;
    address_ = UploadAddress::parse(request_.address, request_.remoteFolder, problem);
    if (!address_) return fail(problem);
    if (!request_.identityFile.empty() && address_->protocol() != UploadAddress::Protocol::Sftp)
        return fail("A key file serves SFTP only: use an sftp:// address or leave the key file out");

    progress_ = {};
    progress_.fileCount = set.files().size();
    progress_.setSize = set.totalSize();
    if (address_->isHttp()) makeHttpFolders();
    for (const UploadSet::File& file : set.files()) {
        if (cancelled_) return fail("Upload cancelled");
        if (!sendFile(file)) return false;
        progress_.setDone += file.size;
        ++progress_.file;
    }
    if (!checkRemoteSizes(set)) return false;
    listener_.status(TextFormat::format("Ready, %zu files uploaded to %s", set.files().size(), address_->shown().c_str()));
    return true;
}

void Uploader::applyCommonOptions(const std::string& url) {
    const CurlLibrary& library = CurlLibrary::require();
    CURL* curl = curl_.get();
    curl_.reset();
    library.easySetopt(curl, CURLOPT_URL, url.c_str());
    library.easySetopt(curl, CURLOPT_PROTOCOLS_STR, "ftp,ftps,sftp,http,https");
    library.easySetopt(curl, CURLOPT_NOSIGNAL, 1L);
    library.easySetopt(curl, CURLOPT_ERRORBUFFER, errorText_);
    const long idle = static_cast<long>(std::max<std::int64_t>(1, request_.idleTimeout.count()));
    library.easySetopt(curl, CURLOPT_CONNECTTIMEOUT, idle);
    library.easySetopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, idle);
    library.easySetopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    library.easySetopt(curl, CURLOPT_LOW_SPEED_TIME, idle);
    library.easySetopt(curl, CURLOPT_NOPROGRESS, 0L);
    library.easySetopt(curl, CURLOPT_XFERINFOFUNCTION, &Uploader::onProgress);
    library.easySetopt(curl, CURLOPT_XFERINFODATA, this);
    // Whatever a server sends back (a size request's answer, an error page) is not shown.
    library.easySetopt(curl, CURLOPT_WRITEFUNCTION, &Uploader::discard);

    const std::string& user = request_.user.empty() ? address_->user() : request_.user;
    const std::string& password = request_.password.empty() ? address_->password() : request_.password;
    if (!user.empty()) library.easySetopt(curl, CURLOPT_USERNAME, user.c_str());
    if (!password.empty()) library.easySetopt(curl, CURLOPT_PASSWORD, password.c_str());
    if (!request_.caFile.empty()) library.easySetopt(curl, CURLOPT_CAINFO, request_.caFile.c_str());

    switch (address_->protocol()) {
    case UploadAddress::Protocol::Ftps:
        library.easySetopt(curl, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
        [[fallthrough]];
    case UploadAddress::Protocol::Ftp:
        library.easySetopt(curl, CURLOPT_FTP_CREATE_MISSING_DIRS, static_cast<long>(CURLFTP_CREATE_DIR_RETRY));
        break;
    case UploadAddress::Protocol::Sftp:
        library.easySetopt(curl, CURLOPT_FTP_CREATE_MISSING_DIRS, static_cast<long>(CURLFTP_CREATE_DIR_RETRY));
        library.easySetopt(curl, CURLOPT_SSH_AUTH_TYPES,
                           static_cast<long>(CURLSSH_AUTH_PUBLICKEY | CURLSSH_AUTH_PASSWORD | CURLSSH_AUTH_KEYBOARD));
        if (!request_.identityFile.empty()) {
            library.easySetopt(curl, CURLOPT_SSH_PRIVATE_KEYFILE, request_.identityFile.c_str());
            if (!password.empty()) library.easySetopt(curl, CURLOPT_KEYPASSWD, password.c_str());
        }
        if (!request_.knownHostsFile.empty()) {
            library.easySetopt(curl, CURLOPT_SSH_KNOWNHOSTS, request_.knownHostsFile.c_str());
            library.easySetopt(curl, CURLOPT_SSH_KEYFUNCTION, +[](CURL*, const curl_khkey*, const curl_khkey*,
                                                                  enum curl_khmatch match, void*) -> int {
                // A server not listed yet is taken as it is; one listed with another key is refused.
                return match == CURLKHMATCH_MISMATCH ? CURLKHSTAT_REJECT : CURLKHSTAT_FINE;
            });
        }
        break;
    case UploadAddress::Protocol::Http:
    case UploadAddress::Protocol::Https:
        library.easySetopt(curl, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_ANY));
        break;
    }
}

TransferFailure Uploader::perform() {
    errorText_[0] = '\0';
    TransferFailure failure;
    failure.code = CurlLibrary::require().easyPerform(curl_.get());
    CurlLibrary::require().easyGetinfo(curl_.get(), CURLINFO_RESPONSE_CODE, &failure.response);
    failure.isHttpAnswer = address_->isHttp();
    failure.detail = errorText_;
    return failure;
}

// WebDAV servers create no folders on PUT: each missing level is made first. A level that exists
// already answers with an error, and a server that refuses says so again on the first PUT.
void Uploader::makeHttpFolders() {
    for (const std::string& url : address_->folderUrls()) {
        applyCommonOptions(url);
        CurlLibrary::require().easySetopt(curl_.get(), CURLOPT_CUSTOMREQUEST, "MKCOL");
        CurlLibrary::require().easySetopt(curl_.get(), CURLOPT_NOBODY, 1L);
        perform();
    }
}

bool Uploader::sendFile(const UploadSet::File& file) {
    FileHandle local;
    if (!local.open(file.path, FileHandle::Mode::Read))
        return fail("Can't read " + file.path + ": " + FileError::describe(local.errorNumber()));
    const std::uint64_t size = local.size();
    const std::string url = address_->fileUrl(file.name);
    progress_.fileName = file.name;
    progress_.fileSize = size;
    progress_.fileDone = 0;
    listener_.status(TextFormat::format("Uploading %s (%zu of %zu)", file.name.c_str(), progress_.file + 1,
                                        progress_.fileCount));
    report();

    std::uint64_t offset = 0;
    int triesWithoutGain = 0;
    for (;;) {
        const TransferFailure result = transfer(local, url, size, offset);
        if (result.ok()) break;
        if (cancelled_) return fail("Upload cancelled");
        if (!readError_.empty()) return fail(readError_);
        if (!result.canResume()) return fail(result.message(address_->shown(), file.name));
        std::uint64_t next = 0;
        if (!address_->isHttp()) {
            TransferFailure asked;
            const auto remote = remoteSize(url, asked);
            if (remote && *remote <= size) next = *remote;
        }
        if (next <= offset && ++triesWithoutGain > TriesWithoutGain)
            return fail(result.message(address_->shown(), file.name));
        if (next > offset) triesWithoutGain = 0;
        offset = next;
        listener_.status(offset > 0 ? TextFormat::format("Connection lost, resuming %s at byte %llu", file.name.c_str(),
                                                         static_cast<unsigned long long>(offset))
                                    : "Connection lost, sending " + file.name + " again");
    }
    progress_.fileDone = size;
    report();
    return true;
}

TransferFailure Uploader::transfer(FileHandle& local, const std::string& url, std::uint64_t size,
                                   std::uint64_t offset) {
    applyCommonOptions(url);
    const CurlLibrary& library = CurlLibrary::require();
    CURL* curl = curl_.get();
    local.seek(0);
    local_ = &local;
    position_ = 0;
    readError_.clear();
    library.easySetopt(curl, CURLOPT_UPLOAD, 1L);
    library.easySetopt(curl, CURLOPT_READFUNCTION, &Uploader::readLocal);
    library.easySetopt(curl, CURLOPT_READDATA, this);
    library.easySetopt(curl, CURLOPT_SEEKFUNCTION, &Uploader::seekLocal);
    library.easySetopt(curl, CURLOPT_SEEKDATA, this);
    library.easySetopt(curl, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(size));
    // libcurl skips the bytes the server has (through the seek above) and appends the rest.
    if (offset > 0) library.easySetopt(curl, CURLOPT_RESUME_FROM_LARGE, static_cast<curl_off_t>(offset));
    TransferFailure result = perform();
    local_ = nullptr;
    return result;
}

std::optional<std::uint64_t> Uploader::remoteSize(const std::string& url, TransferFailure& failure) {
    applyCommonOptions(url);
    CurlLibrary::require().easySetopt(curl_.get(), CURLOPT_NOBODY, 1L);
    failure = perform();
    if (!failure.ok()) return std::nullopt;
    if (failure.isHttpAnswer && failure.response != 200) {
        failure.response = 500; // a success other than 200 carries no size: it counts as a failed answer
        return std::nullopt;
    }
    curl_off_t length = -1;
    CurlLibrary::require().easyGetinfo(curl_.get(), CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    if (length < 0) return std::nullopt;
    return static_cast<std::uint64_t>(length);
}

bool Uploader::checkRemoteSizes(const UploadSet& set) {
    listener_.status("Checking the sizes of the files on the server");
    for (const UploadSet::File& file : set.files()) {
        if (cancelled_) return fail("Upload cancelled");
        TransferFailure failure;
        const auto remote = remoteSize(address_->fileUrl(file.name), failure);
        if (!remote) {
            if (!failure.ok()) return fail(failure.message(address_->shown(), file.name));
            return fail("The server at " + address_->shown() + " does not tell the size of " + file.name +
                        ": the upload could not be checked");
        }
        if (*remote != file.size)
            return fail(TextFormat::format("%s holds %llu bytes on the server instead of %llu: the upload is incomplete",
                                           file.name.c_str(), static_cast<unsigned long long>(*remote),
                                           static_cast<unsigned long long>(file.size)));
    }
    return true;
}

std::size_t Uploader::readLocal(char* buffer, std::size_t size, std::size_t count, void* self) {
    auto* uploader = static_cast<Uploader*>(self);
    try {
        const std::size_t got = uploader->local_->read(buffer, size * count);
        uploader->position_ += got;
        return got;
    } catch (const FileError& error) {
        uploader->readError_ = "Can't read " + error.path() + ": " + error.description();
        return CURL_READFUNC_ABORT;
    }
}

std::size_t Uploader::discard(char*, std::size_t size, std::size_t count, void*) {
    return size * count;
}

int Uploader::seekLocal(void* self, curl_off_t offset, int origin) {
    auto* uploader = static_cast<Uploader*>(self);
    if (origin != SEEK_SET || offset < 0) return CURL_SEEKFUNC_CANTSEEK;
    try {
        uploader->local_->seek(static_cast<std::uint64_t>(offset));
        uploader->position_ = static_cast<std::uint64_t>(offset);
        return CURL_SEEKFUNC_OK;
    } catch (const FileError&) {
        return CURL_SEEKFUNC_FAIL;
    }
}

int Uploader::onProgress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    auto* uploader = static_cast<Uploader*>(self);
    if (uploader->cancelled_) return 1;
    if (uploader->local_) {
        uploader->progress_.fileDone = std::min(uploader->position_, uploader->progress_.fileSize);
        uploader->report();
    }
    return 0;
}
