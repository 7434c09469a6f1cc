#pragma once

#include "base/FileHandle.h"
#include "platform/xaudio/BufferedFileReader.h"
#include "platform/xaudio/XA_Command.h"

#include <cstddef>
#include <cstdint>
#include <string>

struct mpg123_handle_struct;

// libmpg123 behind the player: a file or a fed stream, decoded frame by frame into interleaved
// signed 16-bit samples at the stream's own rate. Volume and equalizer stay across inputs.
class Mp3Decoder {
public:
    enum class Result { Audio, NewFormat, NeedMore, Done, Error };
    struct Format {
        long rate = 0;
        int channels = 0;
    };
    struct StreamInfo {
        long rate = 0;
        int kbits = 0;
        bool mono = false;
        int layer = 0;
        int version = 0; // 1, 2, or 25 for MPEG 2.5
    };

    Mp3Decoder();
    ~Mp3Decoder();
    Mp3Decoder(const Mp3Decoder&) = delete;
    Mp3Decoder& operator=(const Mp3Decoder&) = delete;

    // A regular file only: a FIFO or a device is refused at once instead of waited on.
    bool openFile(const std::string& path);
    bool openFeed();
    void close();
    bool isOpen() const { return open_; }
    bool isFeed() const { return feed_; }
    const std::string& errorText() const { return error_; }

    void feed(const std::uint8_t* data, std::size_t size);
    // Audio: *audio and *bytes hold one decoded frame's samples, in the decoder's buffer (the caller
    // may change them in place).
    Result decode(std::uint8_t** audio, std::size_t* bytes);
    bool hasDecodedAudio() const { return decodedAudio_; }

    Format format() const { return format_; }
    // The rate of an opened file before its first frame is decoded; 0 when not known yet.
    long openedRate() const;
    StreamInfo streamInfo() const;
    // Samples per channel of the whole input, -1 when unknown (streams).
    std::int64_t lengthSamples() const;
    std::int64_t tellSamples() const;
    bool seekSamples(std::int64_t sample);

    // 1.0 leaves the samples as decoded.
    void setVolume(double factor);
    // Bands in tenths of the ±12 dB range per 100 (see Mp3Decoder.cpp); null switches it off.
    void setEqualizer(const XA_Argument::EqualizerTable* table);

    static double bandFactor(int value);

private:
    bool openDescriptor();
    std::int64_t scanLength();

    mpg123_handle_struct* handle_ = nullptr;
    FileHandle file_; // the opened file, which libmpg123 reads but does not own
    BufferedFileReader reader_; // how libmpg123 reads file_
    bool open_ = false;
    bool feed_ = false;
    bool decodedAudio_ = false;
    std::int64_t scannedLength_ = -1; // -1: ask the decoder
    Format format_;
    std::string error_;
};
