#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

// One notification record of the playback component: a 32-bit code, then the payload from offset 4.
// Multi-byte values are stored in the machine's byte order.
struct XA_Message {
    // Room for the largest payload: a failure's reason text (a network library's error text is
    // up to 256 bytes) after the failed command and its code.
    static constexpr std::size_t Size = 8 + 256;
    std::array<std::uint8_t, Size> bytes{};

    XA_Message() = default;
    explicit XA_Message(std::uint32_t code) { setUint32(0, code); }

    std::uint32_t code() const { return uint32At(0); }
    std::uint8_t byteAt(std::size_t offset) const { return bytes.at(offset); }
    std::int16_t int16At(std::size_t offset) const { return read<std::int16_t>(offset); }
    std::uint16_t uint16At(std::size_t offset) const { return read<std::uint16_t>(offset); }
    std::uint32_t uint32At(std::size_t offset) const { return read<std::uint32_t>(offset); }
    const std::uint8_t* payload() const { return bytes.data() + 4; }
    // The zero-ended text from offset; a text that does not fit is cut short.
    std::string textAt(std::size_t offset) const {
        if (offset >= Size) return {};
        const auto* first = reinterpret_cast<const char*>(bytes.data() + offset);
        return std::string(first, strnlen(first, Size - offset));
    }

    XA_Message& setByte(std::size_t offset, std::uint8_t value) {
        bytes.at(offset) = value;
        return *this;
    }
    XA_Message& setInt16(std::size_t offset, std::int16_t value) { return write(offset, value); }
    XA_Message& setUint16(std::size_t offset, std::uint16_t value) { return write(offset, value); }
    XA_Message& setUint32(std::size_t offset, std::uint32_t value) { return write(offset, value); }
    XA_Message& setText(std::size_t offset, const std::string& text) {
        if (offset >= Size) return *this;
        const std::size_t length = std::min(text.size(), Size - offset - 1);
        std::memcpy(bytes.data() + offset, text.data(), length);
        bytes[offset + length] = 0;
        return *this;
    }

private:
    template <typename T> T read(std::size_t offset) const {
        static_assert(sizeof(T) <= Size);
        T value{};
        if (offset <= Size - sizeof(T)) std::memcpy(&value, bytes.data() + offset, sizeof(T));
        return value;
    }
    template <typename T> XA_Message& write(std::size_t offset, T value) {
        if (offset <= Size - sizeof(T)) std::memcpy(bytes.data() + offset, &value, sizeof(T));
        return *this;
    }
};

// Where the component hands its notification records. Called on the component's decoding thread;
// the receiver queues them for its own thread.
class XA_NotificationSink {
public:
    virtual ~XA_NotificationSink() = default;
    virtual void post(const XA_Message& message) = 0;
};
