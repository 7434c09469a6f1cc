#include "cli/JsonObject.h"

#include "base/TextFormat.h"
#include "base/Utf8Text.h"

JsonObject& JsonObject::text(std::string_view key, std::string_view value) { return member(key, quoted(value)); }

JsonObject& JsonObject::number(std::string_view key, std::int64_t value) { return member(key, std::to_string(value)); }

JsonObject& JsonObject::flag(std::string_view key, bool value) { return member(key, value ? "true" : "false"); }

JsonObject& JsonObject::object(std::string_view key, const JsonObject& value) { return member(key, value.str()); }

JsonObject& JsonObject::texts(std::string_view key, const std::vector<std::string>& values) {
    std::string array = "[";
    for (const std::string& value : values) {
        if (array.size() > 1) array += ',';
        array += quoted(value);
    }
    return member(key, array + "]");
}

JsonObject& JsonObject::member(std::string_view key, const std::string& value) {
    if (!members_.empty()) members_ += ",";
    members_ += quoted(key) + ":" + value;
    return *this;
}

std::string JsonObject::quoted(std::string_view text) {
    const std::string utf8 = Utf8Text::fromLegacy(text);
    std::string out = "\"";
    for (const char c : utf8) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            // Bytes of multi-byte characters are negative as char and pass through.
            if (c >= 0 && c < 0x20) out += TextFormat::format("\\u%04x", c);
            else if (c == 0x7f) out += "\\u007f";
            else out += c;
        }
    }
    return out + "\"";
}
