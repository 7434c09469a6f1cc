#include "metadata/Id3Text.h"

#include "base/Utf8Text.h"

#include <vector>

namespace {

// The code points of a text; bytes that are no valid UTF-8 are read as Windows-1252 first.
std::vector<std::uint32_t> codePoints(std::string_view text) {
    const std::string valid = Utf8Text::fromLegacy(text);
    std::vector<std::uint32_t> out;
    for (std::size_t i = 0; i < valid.size();) {
        const auto lead = static_cast<unsigned char>(valid[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        std::uint32_t cp = length == 1 ? lead : length == 2 ? (lead & 0x1Fu) : length == 3 ? (lead & 0x0Fu) : (lead & 0x07u);
        for (std::size_t k = 1; k < length && i + k < valid.size(); ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(valid[i + k]) & 0x3Fu);
        out.push_back(cp);
        i += length;
    }
    return out;
}

std::string decodeUtf16(std::string_view bytes, bool bigEndian, std::size_t* consumed) {
    std::size_t i = 0;
    if (bytes.size() >= 2) {
        const auto b0 = static_cast<unsigned char>(bytes[0]);
        const auto b1 = static_cast<unsigned char>(bytes[1]);
        if (b0 == 0xFF && b1 == 0xFE) {
            bigEndian = false;
            i = 2;
        } else if (b0 == 0xFE && b1 == 0xFF) {
            bigEndian = true;
            i = 2;
        }
    }
    auto unitAt = [&](std::size_t at) {
        const auto a = static_cast<unsigned char>(bytes[at]);
        const auto b = static_cast<unsigned char>(bytes[at + 1]);
        return static_cast<std::uint32_t>(bigEndian ? (a << 8 | b) : (b << 8 | a));
    };
    std::string out;
    std::size_t end = bytes.size();
    for (; i + 1 < bytes.size(); i += 2) {
        std::uint32_t unit = unitAt(i);
        if (unit == 0) {
            end = i + 2;
            break;
        }
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < bytes.size()) {
            const std::uint32_t low = unitAt(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                Utf8Text::append(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        if (unit >= 0xD800 && unit <= 0xDFFF) unit = 0xFFFD;
        Utf8Text::append(out, unit);
    }
    if (consumed) *consumed = end;
    return out;
}

} // namespace

std::string Id3Text::decode(std::uint8_t encoding, std::string_view bytes, std::size_t* consumed) {
    if (encoding == Utf16 || encoding == Utf16BigEndian) return decodeUtf16(bytes, encoding == Utf16BigEndian, consumed);
    const std::size_t zero = bytes.find('\0');
    const std::string_view text = bytes.substr(0, zero);
    if (consumed) *consumed = zero == std::string_view::npos ? bytes.size() : zero + 1;
    return encoding == Utf8 ? Utf8Text::fromLegacy(text) : fromLatin1(text);
}

std::string Id3Text::decodeFrameText(std::string_view payload) {
    if (payload.empty()) return {};
    return decode(static_cast<std::uint8_t>(payload[0]), payload.substr(1));
}

std::string Id3Text::fromLatin1(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char c : bytes) Utf8Text::append(out, static_cast<unsigned char>(c));
    return out;
}

std::optional<std::string> Id3Text::toLatin1(std::string_view utf8) {
    std::string out;
    for (std::uint32_t cp : codePoints(utf8)) {
        if (cp > 0xFF) return std::nullopt;
        out += static_cast<char>(cp);
    }
    return out;
}

std::string Id3Text::toLatin1Lossy(std::string_view utf8) {
    std::string out;
    for (std::uint32_t cp : codePoints(utf8)) out += cp > 0xFF ? '?' : static_cast<char>(cp);
    return out;
}

std::string Id3Text::toUtf16WithBom(std::string_view utf8) {
    std::string out = "\xFF\xFE";
    auto put = [&out](std::uint32_t unit) {
        out += static_cast<char>(unit & 0xFF);
        out += static_cast<char>(unit >> 8);
    };
    for (std::uint32_t cp : codePoints(utf8)) {
        if (cp >= 0x10000) {
            put(0xD800 + ((cp - 0x10000) >> 10));
            put(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            put(cp);
        }
    }
    return out;
}

Id3Text::Encoded Id3Text::encodeForFrame(std::string_view utf8) {
    if (auto latin1 = toLatin1(utf8)) return {Latin1, std::move(*latin1)};
    return {Utf16, toUtf16WithBom(utf8)};
}

std::string Id3Text::emptyString(std::uint8_t encoding) {
    if (encoding == Utf16) return std::string("\xFF\xFE\0\0", 4);
    if (encoding == Utf16BigEndian) return std::string(2, '\0');
    return std::string(1, '\0');
}
