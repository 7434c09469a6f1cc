#include "splitjoin/NameSanitizer.h"

#include "base/Utf8Text.h"

#include <array>
#include <utility>

namespace {

void replaceAll(std::string& text, std::string_view from, std::string_view to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

void eraseAll(std::string& text, char c) { std::erase(text, c); }

// Step 15: when more than three characters follow the last dot, every dot goes; otherwise only
// the last dot stays, with what follows it.
void reduceDots(std::string& text) {
    const std::size_t last = text.rfind('.');
    if (last == std::string::npos) return;
    if (Utf8Text::length(std::string_view(text).substr(last + 1)) > 3) {
        eraseAll(text, '.');
        return;
    }
    std::string head = text.substr(0, last);
    eraseAll(head, '.');
    text = head + text.substr(last);
}

} // namespace

std::string NameSanitizer::sanitizeStem(std::string_view stem) {
    std::string text(stem);
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    // Capital umlauts are lowered first so that the umlaut steps below catch them.
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 16> steps = {{
        {"\xC3\x84", "\xC3\xA4"}, {"\xC3\x96", "\xC3\xB6"}, {"\xC3\x9C", "\xC3\xBC"},
        {" ", "_"}, {"&", "$"}, {"+", "$"}, {",", ""}, {"'", ""}, {"\xC2\xB4", ""}, {"`", ""},
        {"!", ""}, {"?", ""}, {"\xC3\xA4", "ae"}, {"\xC3\xBC", "ue"}, {"\xC3\xB6", "oe"},
        {"\xC3\x9F", "ss"},
    }};
    for (const auto& [from, to] : steps) replaceAll(text, from, to);
    reduceDots(text);
    return text;
}

std::string NameSanitizer::plainFileName(std::string_view raw) {
    std::string name = Utf8Text::fromLegacy(raw);
    for (char& c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '/' || c == '\\' || byte < 0x20 || byte == 0x7F) c = '_';
    }
    if (name == "." || name == "..") name.assign(name.size(), '_');
    return name;
}
