#include "platform/xaudio/Mp3Decoder.h"

#include "base/FileError.h"

#include <mpg123.h>

#include <cmath>

namespace {

// libmpg123 keeps a process-wide table set up once.
void initialiseOnce() {
    static const int done = [] {
        mpg123_init();
        return 0;
    }();
    (void)done;
}

} // namespace

Mp3Decoder::Mp3Decoder() {
    initialiseOnce();
    int error = MPG123_OK;
    handle_ = mpg123_new(nullptr, &error);
    if (!handle_) return;
    mpg123_param(handle_, MPG123_ADD_FLAGS, MPG123_QUIET, 0.0);
    // Signed 16-bit at the stream's own rate and channel count, whatever the stream is.
    mpg123_format_none(handle_);
    const long* rates = nullptr;
    std::size_t count = 0;
    mpg123_rates(&rates, &count);
    for (std::size_t i = 0; i < count; ++i)
        mpg123_format(handle_, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
}

Mp3Decoder::~Mp3Decoder() {
    close();
    if (handle_) mpg123_delete(handle_);
}

bool Mp3Decoder::openFile(const std::string& path) {
    close();
    if (!handle_) {
        error_ = "decoder could not be created";
        return false;
    }
    if (!file_.open(path, FileHandle::Mode::Read)) {
        error_ = FileError::describe(file_.errorNumber());
        return false;
    }
    if (!openDescriptor()) return false;
    scannedLength_ = scanLength();
    // The scan's seek back to the start leaves the decoder unlike a freshly opened one: MPEG-2
    // frames come out a step off in places, and a file whose last frame is cut short loses the
    // trimming of its encoder delay and padding. Decoding starts on the file opened afresh.
    mpg123_close(handle_);
    try {
        file_.seek(0);
    } catch (const FileError& error) {
        error_ = FileError::describe(error.errorNumber());
        file_ = FileHandle();
        return false;
    }
    if (!openDescriptor()) return false;
    open_ = true;
    return true;
}

bool Mp3Decoder::openDescriptor() {
    reader_.attach(file_);
    mpg123_replace_reader_handle(
        handle_,
        [](void* reader, void* out, std::size_t length) -> mpg123_ssize_t {
            return static_cast<BufferedFileReader*>(reader)->read(out, length);
        },
        [](void* reader, off_t offset, int whence) { return static_cast<BufferedFileReader*>(reader)->seek(offset, whence); },
        nullptr);
    if (mpg123_open_handle(handle_, &reader_) == MPG123_OK) return true;
    error_ = mpg123_strerror(handle_);
    file_ = FileHandle();
    return false;
}

// A full scan gives the exact length of files without a length header.
std::int64_t Mp3Decoder::scanLength() {
    if (mpg123_scan(handle_) != MPG123_OK) return -1;
    const off_t length = mpg123_length(handle_);
    return length < 0 ? -1 : static_cast<std::int64_t>(length);
}

bool Mp3Decoder::openFeed() {
    close();
    if (!handle_ || mpg123_open_feed(handle_) != MPG123_OK) {
        error_ = handle_ ? mpg123_strerror(handle_) : "decoder could not be created";
        return false;
    }
    open_ = true;
    feed_ = true;
    return true;
}

void Mp3Decoder::close() {
    if (open_) mpg123_close(handle_);
    file_ = FileHandle();
    open_ = false;
    feed_ = false;
    decodedAudio_ = false;
    scannedLength_ = -1;
    format_ = {};
}

void Mp3Decoder::feed(const std::uint8_t* data, std::size_t size) {
    if (open_ && feed_ && size > 0) mpg123_feed(handle_, data, size);
}

Mp3Decoder::Result Mp3Decoder::decode(std::uint8_t** audio, std::size_t* bytes) {
    if (!open_) return Result::Error;
    off_t frame = 0;
    unsigned char* data = nullptr;
    std::size_t size = 0;
    const int result = mpg123_decode_frame(handle_, &frame, &data, &size);
    switch (result) {
    case MPG123_OK:
        if (format_.rate == 0) { // the same format as the input before: no new-format result
            int encoding = 0;
            mpg123_getformat2(handle_, &format_.rate, &format_.channels, &encoding, 0);
        }
        *audio = data;
        *bytes = size;
        if (size > 0) decodedAudio_ = true;
        return Result::Audio;
    case MPG123_NEW_FORMAT: {
        int channels = 0, encoding = 0;
        long rate = 0;
        mpg123_getformat(handle_, &rate, &channels, &encoding);
        format_ = {rate, channels};
        return Result::NewFormat;
    }
    case MPG123_NEED_MORE:
        return Result::NeedMore;
    case MPG123_DONE:
        return Result::Done;
    default:
        error_ = mpg123_strerror(handle_);
        return Result::Error;
    }
}

Mp3Decoder::StreamInfo Mp3Decoder::streamInfo() const {
    StreamInfo result;
    mpg123_frameinfo2 info{};
    if (!open_ || mpg123_info2(handle_, &info) != MPG123_OK) return result;
    result.rate = info.rate;
    result.kbits = info.bitrate;
    result.mono = info.mode == MPG123_M_MONO;
    result.layer = info.layer;
    result.version = info.version == MPG123_1_0 ? 1 : info.version == MPG123_2_0 ? 2 : 25;
    return result;
}

long Mp3Decoder::openedRate() const {
    long rate = 0;
    int channels = 0, encoding = 0;
    // Without clearing the new-format flag: decode() still reports the format.
    if (!open_ || mpg123_getformat2(handle_, &rate, &channels, &encoding, 0) != MPG123_OK) return 0;
    return rate;
}

std::int64_t Mp3Decoder::lengthSamples() const {
    if (!open_ || feed_) return -1;
    if (scannedLength_ >= 0) return scannedLength_;
    const off_t length = mpg123_length(handle_);
    return length < 0 ? -1 : static_cast<std::int64_t>(length);
}

std::int64_t Mp3Decoder::tellSamples() const {
    if (!open_) return 0;
    const off_t position = mpg123_tell(handle_);
    return position < 0 ? 0 : static_cast<std::int64_t>(position);
}

bool Mp3Decoder::seekSamples(std::int64_t sample) {
    if (!open_ || feed_) return false;
    return mpg123_seek(handle_, static_cast<off_t>(sample), SEEK_SET) >= 0;
}

void Mp3Decoder::setVolume(double factor) {
    if (handle_) mpg123_volume(handle_, factor);
}

// 100 is about +12 dB, -100 about -12 dB; 0 leaves the band flat.
double Mp3Decoder::bandFactor(int value) {
    return std::pow(10.0, (value * 12.0 / 100.0) / 20.0);
}

void Mp3Decoder::setEqualizer(const XA_Argument::EqualizerTable* table) {
    if (!handle_) return;
    mpg123_reset_eq(handle_);
    if (!table) return;
    for (int band = 0; band < 32; ++band) {
        mpg123_eq(handle_, MPG123_LEFT, band, bandFactor((*table)[band]));
        mpg123_eq(handle_, MPG123_RIGHT, band, bandFactor((*table)[32 + band]));
    }
}
