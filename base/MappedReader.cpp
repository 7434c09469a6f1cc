#include "base/MappedReader.h"

#include "base/FileHandle.h"

#include <algorithm>
#include <csetjmp>
#include <csignal>
#include <mutex>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// The touch in progress on this thread: where its window lies, and where to jump when a page
// of it is gone.
struct TouchGuard {
    sigjmp_buf jump;
    const std::uint8_t* begin;
    const std::uint8_t* end;
};

thread_local TouchGuard* activeGuard = nullptr;
struct sigaction previousAction {};
std::once_flag handlerInstalled;

void onBusError(int signal, siginfo_t* info, void*) {
    TouchGuard* guard = activeGuard;
    const auto* address = static_cast<const std::uint8_t*>(info->si_addr);
    if (guard && address >= guard->begin && address < guard->end) siglongjmp(guard->jump, 1);
    // Not ours: the disposition from before takes over, for a fault when the instruction runs
    // again, for a signal that was sent by raising it anew.
    sigaction(signal, &previousAction, nullptr);
    if (info->si_code <= 0) raise(signal);
}

void installHandler() {
    std::call_once(handlerInstalled, [] {
        struct sigaction action {};
        action.sa_sigaction = onBusError;
        // SA_NODEFER: the jump out of the handler leaves no signal blocked, so the guard needs no
        // signal mask saved and restored (a system call) for each touch.
        action.sa_flags = SA_SIGINFO | SA_NODEFER;
        sigemptyset(&action.sa_mask);
        sigaction(SIGBUS, &action, &previousAction);
    });
}

std::uint64_t pageSize() {
    static const auto size = static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
    return size;
}

} // namespace

MappedReader::MappedReader(FileHandle& file, std::uint64_t offset, Access access)
    : file_(file), position_(offset), mappable_(access == Access::Map) {
    if (!mappable_) file_.seek(offset);
}

MappedReader::~MappedReader() { unmap(); }

const std::string& MappedReader::path() const { return file_.path(); }

std::span<const std::uint8_t> MappedReader::next(std::size_t most) {
    if (most == 0) return {};
    if (mappable_) {
        const auto view = nextMapped(most);
        if (mappable_) return view;
        // The mapping failed just now: the read path goes on from the same place.
        file_.seek(position_);
    }
    return nextRead(most);
}

std::span<const std::uint8_t> MappedReader::nextMapped(std::size_t most) {
    if (!mapping_ || position_ >= mappingOffset_ + mappingLength_) {
        unmap();
        // The size as it is now: a window never reaches past the end, so a file that shrank
        // before this point ends the views here instead of raising SIGBUS.
        const std::uint64_t fileSize = file_.size();
        if (position_ >= fileSize) return {};
        mapWindowAt(position_, fileSize);
        if (!mapping_) return {};
    }
    const std::uint64_t inWindow = position_ - mappingOffset_;
    const std::size_t length = static_cast<std::size_t>(std::min<std::uint64_t>(most, mappingLength_ - inWindow));
    const std::span<const std::uint8_t> view(mapping_ + inWindow, length);
    position_ += length;
    return view;
}

void MappedReader::mapWindowAt(std::uint64_t offset, std::uint64_t fileSize) {
    const std::uint64_t start = offset - offset % pageSize();
    const auto length = static_cast<std::size_t>(std::min<std::uint64_t>(WindowSize, fileSize - start));
    void* mapping = ::mmap(nullptr, length, PROT_READ, MAP_SHARED, file_.descriptor(), static_cast<off_t>(start));
    if (mapping == MAP_FAILED) {
        mappable_ = false; // a file system without mappings, or no address space: read instead
        return;
    }
    ::madvise(mapping, length, MADV_SEQUENTIAL);
    mapping_ = static_cast<std::uint8_t*>(mapping);
    mappingLength_ = length;
    mappingOffset_ = start;
}

void MappedReader::unmap() {
    if (mapping_) ::munmap(mapping_, mappingLength_);
    mapping_ = nullptr;
    mappingLength_ = 0;
}

std::span<const std::uint8_t> MappedReader::nextRead(std::size_t most) {
    if (buffer_.empty()) buffer_.resize(ReadChunk);
    const std::size_t got = file_.read(buffer_.data(), std::min(most, buffer_.size()));
    position_ += got;
    return {buffer_.data(), got};
}

void MappedReader::touch(void (*action)(void* context), void* context) const {
    if (!mapping_) {
        action(context);
        return;
    }
    installHandler();
    TouchGuard guard;
    guard.begin = mapping_;
    guard.end = mapping_ + mappingLength_;
    TouchGuard* const outer = activeGuard;
    if (sigsetjmp(guard.jump, 0) != 0) {
        activeGuard = outer;
        throwShrunk();
    }
    activeGuard = &guard;
    action(context);
    activeGuard = outer;
    checkStillThere();
}

void MappedReader::checkStillThere() const {
    if (mapping_ && file_.size() < position_) throwShrunk();
}

void MappedReader::throwShrunk() const { throw FileError(file_.path(), EIO); }
