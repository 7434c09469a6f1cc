// ICY metadata taken out of a stream however the network cuts it into pieces.

#include "platform/xaudio/IcyMetadataStripper.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Audio bytes 0, 1, 2, ... with a block after every `interval` of them, as a server sends them:
// a title block, an empty block, a title block that holds 0xFF sync bytes, and so on.
struct IcyStream {
    std::vector<std::uint8_t> audio, sent;

    IcyStream(std::size_t interval, std::size_t audioBytes) {
        for (std::size_t i = 0; i < audioBytes; ++i) {
            audio.push_back(static_cast<std::uint8_t>(i * 7));
            sent.push_back(audio.back());
            if ((i + 1) % interval != 0 || i + 1 == audioBytes) continue;
            const std::size_t blocks = (i / interval) % 3; // 0, 1 or 2 units of 16 bytes
            sent.push_back(static_cast<std::uint8_t>(blocks));
            sent.insert(sent.end(), blocks * 16, 0xFF);
        }
    }
};

TEST(IcyMetadataStripperTest, LeavesOutEveryBlockWhereverThePiecesEnd) {
    const IcyStream stream(37, 1000);
    for (const std::size_t piece : {std::size_t{1}, std::size_t{2}, std::size_t{16}, std::size_t{37}, std::size_t{38},
                                    std::size_t{100}, stream.sent.size()}) {
        SCOPED_TRACE(piece);
        IcyMetadataStripper stripper;
        stripper.start(37);
        std::vector<std::uint8_t> audio;
        for (std::size_t at = 0; at < stream.sent.size(); at += piece)
            stripper.strip(stream.sent.data() + at, std::min(piece, stream.sent.size() - at), audio);
        EXPECT_TRUE(audio == stream.audio);
    }
}

TEST(IcyMetadataStripperTest, WithoutAnIntervalEverythingIsAudio) {
    const IcyStream stream(37, 200);
    IcyMetadataStripper stripper;
    stripper.start(37);
    stripper.start(0); // a new response (after a redirect) without metadata
    std::vector<std::uint8_t> audio;
    stripper.strip(stream.sent.data(), stream.sent.size(), audio);
    EXPECT_TRUE(audio == stream.sent);
}

} // namespace
