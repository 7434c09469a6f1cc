#pragma once

#include "base/FileHandle.h"
#include "transfer/CurlHandle.h"
#include "transfer/TransferFailure.h"
#include "transfer/UploadAddress.h"
#include "transfer/UploadListener.h"
#include "transfer/UploadRequest.h"
#include "transfer/UploadSet.h"

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

// Uploads a set, one file at a time, through libcurl: FTP, FTPS, SFTP, and HTTP(S) by PUT.
//
// A file whose connection breaks off is sent again: over FTP and SFTP from where the server's
// copy ends (its size is asked, the rest appended), over HTTP whole. When every file is sent,
// the size of each copy on the server is compared with the local file. Local files are only read.
// One Uploader serves one upload on one thread; cancel() may come from any thread.
class Uploader {
public:
    Uploader(UploadRequest request, UploadListener& listener);

    // False after a failure or a cancel, which the listener was told of.
    bool upload(const UploadSet& set);
    void cancel() { cancelled_ = true; }

    // Sending again without the server's copy growing ends after this many tries.
    static constexpr int TriesWithoutGain = 2;

private:
    bool fail(const std::string& message);
    void report();
    void applyCommonOptions(const std::string& url);
    void makeHttpFolders();
    bool sendFile(const UploadSet::File& file);
    TransferFailure transfer(FileHandle& local, const std::string& url, std::uint64_t size, std::uint64_t offset);
    TransferFailure perform();
    std::optional<std::uint64_t> remoteSize(const std::string& url, TransferFailure& failure);
    bool checkRemoteSizes(const UploadSet& set);

    static std::size_t readLocal(char* buffer, std::size_t size, std::size_t count, void* self);
    static std::size_t discard(char* data, std::size_t size, std::size_t count, void* self);
    static int seekLocal(void* self, curl_off_t offset, int origin);
    static int onProgress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t);

    UploadRequest request_;
    UploadListener& listener_;
    std::optional<UploadAddress> address_;
    CurlHandle curl_;
    std::atomic<bool> cancelled_{false};
    char errorText_[CURL_ERROR_SIZE] = {};

    // The file being sent, for libcurl's callbacks.
    FileHandle* local_ = nullptr;
    std::uint64_t position_ = 0;
    std::string readError_;
    UploadProgress progress_; // setDone: the files finished before this one
};
