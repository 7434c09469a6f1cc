#include "transfer/PageLinks.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

namespace {

// Finds needle in text from position `from`, ignoring the case of ASCII letters.
std::size_t findNoCase(std::string_view text, std::string_view needle, std::size_t from) {
    const auto start = text.begin() + static_cast<std::ptrdiff_t>(std::min(from, text.size()));
    const auto found = std::search(start, text.end(), needle.begin(), needle.end(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
    return found == text.end() ? std::string_view::npos : static_cast<std::size_t>(found - text.begin());
}

} // namespace

bool PageLinks::looksLikePage(std::string_view text) {
    const std::string_view head = text.substr(0, 4096);
    return findNoCase(head, "<html", 0) != std::string_view::npos ||
           findNoCase(text, "<a href=", 0) != std::string_view::npos;
}

std::vector<std::string> PageLinks::of(std::string_view page) {
    std::vector<std::string> links;
    constexpr std::string_view kAnchor = "<a href=";
    for (std::size_t at = findNoCase(page, kAnchor, 0); at != std::string_view::npos;
         at = findNoCase(page, kAnchor, at + kAnchor.size())) {
        const std::size_t quote = at + kAnchor.size();
        if (quote >= page.size() || (page[quote] != '\'' && page[quote] != '"')) continue;
        const std::size_t end = page.find(page[quote], quote + 1);
        if (end == std::string_view::npos) break;
        std::string link = unescapeHtml(page.substr(quote + 1, end - quote - 1));
        if (!link.empty()) links.push_back(std::move(link));
    }
    return links;
}

std::string PageLinks::unescapeHtml(std::string_view text) {
    static constexpr std::array<std::pair<std::string_view, char>, 6> kEntities{{
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&#39;", '\''}, {"&apos;", '\''}}};
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto entity = std::find_if(kEntities.begin(), kEntities.end(),
                                         [&](const auto& e) { return text.substr(i).starts_with(e.first); });
        if (entity != kEntities.end()) {
            out += entity->second;
            i += entity->first.size();
        } else {
            out += text[i++];
        }
    }
    return out;
}

std::string PageLinks::encodeForAddress(std::string_view link) {
    static constexpr std::string_view kUnsafe = " \"<>\\^`{|}";
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (char c : link) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x7F || kUnsafe.find(c) != std::string_view::npos) {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
        } else {
            out += c;
        }
    }
    return out;
}
