#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// The two older single-file kinds that a join still reads, never writes.
//
// OLD: a 131-byte header with the signature "abcdef2" at bytes 1 to 7 and two texts of at most
// 29 characters, then the transposed payload.
// ENC: "ENC " at byte 0, six field lengths at bytes 18 to 25 (four of one byte, two of two),
// the six scrambled fields, then the transposed payload.
class LegacyPart {
public:
    enum class Kind { None, Old, Enc };

    static constexpr std::size_t OldHeaderSize = 131;
    static constexpr std::size_t EncHeaderSize = 26;
    // The longest ENC header with its fields: enough bytes for identify() in every case.
    static constexpr std::size_t MaxHeadSize = EncHeaderSize + 4 * 255 + 2 * 65535;
    static constexpr std::string_view TranspositionKey = "kupferdrahtrolle";
    static constexpr std::size_t Columns = 16;

    struct Info {
        Kind kind = Kind::None;
        // The raw texts the output name is made of: "%s - %s.mp3" with first and second.
        std::string firstText;
        std::string secondText;
        std::uint64_t payloadOffset = 0;
    };

    // Recognises an OLD or ENC file from its first bytes (at most MaxHeadSize of them).
    // OLD is tested first. An ENC header whose fields run past the file is no ENC file.
    static Info identify(std::span<const std::uint8_t> head, std::uint64_t fileSize);
    // "second - first.mp3" for OLD, "field0 - field1.mp3" for ENC, as raw bytes.
    static std::string proposedName(const Info& info);

    // For each letter from 'a' to 'z', the positions of the key that hold it, ascending.
    static std::array<std::size_t, Columns> columnOrder(std::string_view key = TranspositionKey);
    // Rebuilds the source from a transposed payload of n bytes; out must hold n bytes.
    static void untranspose(const std::uint8_t* payload, std::uint8_t* out, std::size_t n);

private:
    static Info identifyOld(std::span<const std::uint8_t> head);
    static Info identifyEnc(std::span<const std::uint8_t> head, std::uint64_t fileSize);
};
