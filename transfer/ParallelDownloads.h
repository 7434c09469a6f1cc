#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

class FileHandle;

// Downloads from http(s):// and ftp:// addresses into open files, several at a time on one
// thread (libcurl's multi interface). A download that breaks off after some data goes on where
// it stopped with a range request (FTP: REST); a server that cannot resume is asked for the
// whole file again. Nothing waits for ever: connecting and every stretch without data have a time
// limit, and a download that brings no new byte in several attempts in a row gives up.
class ParallelDownloads {
public:
    struct Limits {
        std::chrono::seconds connect{30};
        std::chrono::seconds noData{30};
        // Attempts in a row that bring no new byte before giving up; also the most times a
        // download starts again from its first byte because the server cannot resume.
        int fruitlessAttempts = 3;
    };
    enum class Outcome { Done, Missing, Failed, Cancelled };
    struct Finished {
        std::uint64_t id = 0;
        Outcome outcome = Outcome::Failed;
        std::string detail; // the reason of a failure, as the library or the server gave it
    };
    // Called on the waiting thread as data arrives: the download's id and the new bytes' count.
    using BytesArrived = std::function<void(std::uint64_t id, std::size_t length)>;
    // Given a download's first bytes, how many of its leading bytes are wanted at most (no fewer
    // than it was given).
    using WantedLength = std::function<std::uint64_t(std::span<const std::uint8_t> head)>;

    ParallelDownloads(Limits limits, const std::atomic<bool>* cancel);
    ~ParallelDownloads();
    ParallelDownloads(const ParallelDownloads&) = delete;
    ParallelDownloads& operator=(const ParallelDownloads&) = delete;

    void setBytesArrived(BytesArrived callback) { bytesArrived_ = std::move(callback); }
    // Bounds every download by what its first headSize bytes tell: once they are in, the download
    // is Done as soon as the wanted length is, and the rest is never fetched. A download that ends
    // before headSize bytes is not bounded.
    void setWantedLength(std::size_t headSize, WantedLength wanted) {
        headSize_ = headSize;
        wantedLength_ = std::move(wanted);
    }
    // Starts downloading address into target, an empty file open for writing. With a limit, only
    // that many leading bytes are wanted, and the download is Done once they are there.
    void start(std::uint64_t id, const std::string& address, FileHandle& target, std::uint64_t limit = 0);
    // Waits until one of the running downloads ends and reports it; Cancelled (for no particular
    // id) as soon as the cancel flag is set. A write error into a target is rethrown here.
    Finished next();

private:
    struct Transfer;
    static std::size_t receive(char* data, std::size_t size, std::size_t count, void* transfer);
    void launch(Transfer& transfer);
    // Keeps the first bytes of a download until its head is complete, then bounds it by them.
    void learnFromHead(Transfer& transfer, const char* data, std::size_t length);
    // What to make of an attempt that ended: a Finished to report, or nothing when it goes on.
    std::optional<Finished> settle(Transfer& transfer, int code);

    Limits limits_;
    const std::atomic<bool>* cancel_;
    void* multi_ = nullptr;
    std::map<std::uint64_t, std::unique_ptr<Transfer>> transfers_;
    BytesArrived bytesArrived_;
    std::size_t headSize_ = 0;
    WantedLength wantedLength_;
};
