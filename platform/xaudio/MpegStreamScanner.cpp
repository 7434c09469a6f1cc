#include "platform/xaudio/MpegStreamScanner.h"

#include "base/FileError.h"
#include "base/FileHandle.h"
#include "platform/xaudio/AudioRegion.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace {

// Large blocks for a walk over the whole file; a look at its first frame needs only a little.
constexpr std::size_t kWalkBlock = 256 << 10;
constexpr std::size_t kFirstFrameBlock = 64 << 10;

// The audio region read block by block; bytes are handed out by file offset.
class Blocks {
public:
    Blocks(FileHandle& file, std::uint64_t end, std::size_t blockSize) : file_(file), end_(end), blockSize_(blockSize) {}

    std::uint64_t end() const { return end_; }

    // length bytes at offset, or null when they reach past the end of the region.
    const std::uint8_t* at(std::uint64_t offset, std::size_t length) {
        if (offset + length > end_) return nullptr;
        if (offset < start_ || offset + length > start_ + data_.size()) {
            refill(offset);
            if (offset + length > start_ + data_.size()) return nullptr; // the file got shorter
        }
        return data_.data() + (offset - start_);
    }

    // The first offset at or behind from where a frame sync (eleven set bits) starts.
    std::optional<std::uint64_t> nextSync(std::uint64_t from) {
        while (from + 1 < end_) {
            if (from < start_ || from + 2 > start_ + data_.size()) {
                refill(from);
                if (from + 2 > start_ + data_.size()) return std::nullopt; // the file got shorter
            }
            const std::uint8_t* base = data_.data();
            const std::size_t n = data_.size();
            for (std::size_t i = from - start_; i + 1 < n;) {
                const void* hit = std::memchr(base + i, 0xFF, n - 1 - i);
                if (!hit) break;
                i = static_cast<std::size_t>(static_cast<const std::uint8_t*>(hit) - base);
                if ((base[i + 1] & 0xE0) == 0xE0) return start_ + i;
                ++i;
            }
            from = start_ + n - 1;
        }
        return std::nullopt;
    }

private:
    void refill(std::uint64_t offset) {
        data_.resize(static_cast<std::size_t>(std::min<std::uint64_t>(blockSize_, end_ - offset)));
        data_.resize(file_.readAt(data_.data(), data_.size(), offset));
        start_ = offset;
        if (data_.empty()) end_ = offset; // the file got shorter while we read it
    }

    FileHandle& file_;
    std::uint64_t end_;
    std::size_t blockSize_;
    std::uint64_t start_ = 0;
    std::vector<std::uint8_t> data_;
};

// A frame header and what a walk asks of it at every frame.
struct Frame {
    MpegFrameHeader header;
    std::size_t length = 0; // bytes of the whole frame
    double seconds = 0;     // playing time
};

struct Located {
    std::uint64_t at;
    Frame frame;
};

class Walk {
public:
    explicit Walk(Blocks& blocks) : blocks_(blocks) {}

    std::optional<Frame> frameAt(std::uint64_t at) {
        const std::uint8_t* bytes = blocks_.at(at, 4);
        if (!bytes) return std::nullopt;
        // Each header is looked at twice (as the one behind a frame, then as a frame of its own),
        // and most repeat the one before but for the padding bit: work out only one that differs.
        const std::uint32_t word = ((std::uint32_t(bytes[0]) << 24) | (std::uint32_t(bytes[1]) << 16) |
                                    (std::uint32_t(bytes[2]) << 8) | bytes[3]) & ~kPaddingBit;
        if (word != lastWord_) remember(word, bytes);
        if (!last_) return std::nullopt;
        Frame frame = *last_;
        frame.header.padding = (bytes[2] & 2) != 0;
        if (frame.header.padding) frame.length += padBytes_;
        return frame;
    }

    // The frame at `at` holds when it ends where the audio ends or a valid header follows it;
    // while looking for the first frame, that header must also agree in level, layer and rate.
    // Within the stream, the last frame also holds when only bytes without a frame follow it (a
    // stray byte, the pad byte of a RIFF chunk).
    bool confirmed(std::uint64_t at, const Frame& frame, bool strict) {
        const std::uint64_t next = at + frame.length;
        if (next == blocks_.end()) return true;
        if (next > blocks_.end()) return false;
        const auto following = frameAt(next);
        if (!following) return !strict && !sync(next);
        const MpegFrameHeader& header = frame.header;
        return !strict || (following->header.level == header.level && following->header.layer == header.layer &&
                           following->header.sampleRate == header.sampleRate);
    }

    std::optional<Located> sync(std::uint64_t from) {
        while (const auto candidate = blocks_.nextSync(from)) {
            const auto frame = frameAt(*candidate);
            if (frame && confirmed(*candidate, *frame, true)) return Located{*candidate, *frame};
            from = *candidate + 1;
        }
        return std::nullopt;
    }

    bool isHeaderFrame(std::uint64_t at, const Frame& frame) {
        const MpegFrameHeader& header = frame.header;
        if (header.layer != 3) return false;
        auto holds = [&](std::size_t offset, const char* marker) {
            if (offset + 4 > frame.length) return false;
            const std::uint8_t* bytes = blocks_.at(at + offset, 4);
            return bytes && std::memcmp(bytes, marker, 4) == 0;
        };
        // In a CRC-protected frame the side information sits two bytes later, but lame writes its
        // tag where it would be without the CRC: both places are looked at.
        for (const std::size_t side : {header.sideInfoEnd(), header.sideInfoEnd() + (header.protectedByCrc ? 2 : 0)})
            if (holds(side, "Xing") || holds(side, "Info")) return true;
        return holds(36, "VBRI");
    }

private:
    static constexpr std::uint32_t kPaddingBit = 0x200;

    // The frame of a header without padding, and what padding adds to its length.
    void remember(std::uint32_t word, const std::uint8_t* bytes) {
        lastWord_ = word;
        last_.reset();
        auto header = MpegFrameHeader::parse(bytes); // the padding bit does not decide validity
        if (!header) return;
        header->padding = false;
        last_ = Frame{*header, header->frameLength(), static_cast<double>(header->samplesPerFrame()) / header->sampleRate};
        header->padding = true;
        padBytes_ = header->frameLength() - last_->length;
    }

    Blocks& blocks_;
    std::optional<std::uint32_t> lastWord_; // without the padding bit
    std::optional<Frame> last_;
    std::size_t padBytes_ = 0;
};

void count(MpegStreamFacts& facts, const Frame& frame) {
    const MpegFrameHeader& header = frame.header;
    if (facts.frames == 0) {
        facts.first = header;
    } else {
        const MpegFrameHeader& first = facts.first;
        if (header.level != first.level) facts.variations |= LevelVaries;
        if (header.layer != first.layer) facts.variations |= LayerVaries;
        if (header.bitrate != first.bitrate) facts.variations |= BitrateVaries;
        if (header.sampleRate != first.sampleRate) facts.variations |= FrequencyVaries;
        if (header.channelMode != first.channelMode) facts.variations |= ModeVaries;
        if (header.channels() != first.channels()) facts.variations |= ChannelsVaries;
    }
    ++facts.frames;
    facts.audioBytes += frame.length;
    facts.seconds += frame.seconds;
}

} // namespace

int MpegStreamFacts::averageBitrate() const {
    if ((variations & BitrateVaries) == 0 || seconds <= 0) return first.bitrate;
    return static_cast<int>(std::lround(static_cast<double>(audioBytes) * 8 / seconds));
}

std::optional<MpegStreamFacts> MpegStreamScanner::scan(FileHandle& file, bool firstFrameOnly) {
    try {
        const AudioRegion region = AudioRegion::of(file);
        Blocks blocks(file, region.end, firstFrameOnly ? kFirstFrameBlock : kWalkBlock);
        Walk walk(blocks);
        const auto start = walk.sync(region.begin);
        if (!start) return std::nullopt;
        MpegStreamFacts facts;
        facts.first = start->frame.header;
        std::uint64_t at = start->at;
        if (walk.isHeaderFrame(at, start->frame)) {
            facts.headerFrame = true;
            at += start->frame.length;
        }
        while (at + 4 <= blocks.end()) {
            const auto frame = walk.frameAt(at);
            if (frame && walk.confirmed(at, *frame, false)) {
                count(facts, *frame);
                if (firstFrameOnly) break;
                at += frame->length;
                continue;
            }
            const auto resumed = walk.sync(at + 1);
            if (!resumed) break;
            at = resumed->at;
        }
        return facts;
    } catch (const FileError&) {
        return std::nullopt;
    }
}
