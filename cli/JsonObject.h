#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One JSON object, written member by member, for output that scripts read. Texts are taken as
// UTF-8; a text that is not valid UTF-8 (a name from an old part header, a file name written
// elsewhere) is read as Windows-1252, so that the output always parses.
class JsonObject {
public:
    JsonObject& text(std::string_view key, std::string_view value);
    JsonObject& number(std::string_view key, std::int64_t value);
    JsonObject& flag(std::string_view key, bool value);
    JsonObject& object(std::string_view key, const JsonObject& value);
    JsonObject& texts(std::string_view key, const std::vector<std::string>& values);

    // The object on one line: "{...}".
    std::string str() const { return "{" + members_ + "}"; }

    // A JSON string: quotes, backslash and control characters escaped, other characters as they are.
    static std::string quoted(std::string_view text);

private:
    JsonObject& member(std::string_view key, const std::string& value);

    std::string members_;
};
