#pragma once

#include <string>
#include <string_view>
#include <vector>

// The part links of a download page as the splitter writes it: one "<a href='NAME'>" per part,
// in part order, the name HTML-escaped. Links in double quotes are taken too, so that a page
// somebody saved again with another tool still leads to its parts.
class PageLinks {
public:
    // Whether the text reads as an HTML page rather than as a part.
    static bool looksLikePage(std::string_view text);
    // The link targets in page order, unescaped; empty when the page has none.
    static std::vector<std::string> of(std::string_view page);
    // A link as a page holds it, made fit for an address: blanks, control and non-ASCII bytes and
    // the few characters an address may not carry are percent-encoded, the rest kept.
    static std::string encodeForAddress(std::string_view link);

private:
    static std::string unescapeHtml(std::string_view text);
};
