#include "transfer/WebAddress.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace {

constexpr std::array<std::string_view, 3> kSchemes{"http://", "https://", "ftp://"};

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
           });
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

} // namespace

bool WebAddress::isWebAddress(std::string_view text) {
    return std::any_of(kSchemes.begin(), kSchemes.end(),
                       [text](std::string_view scheme) { return startsWithNoCase(text, scheme); });
}

std::string WebAddress::withoutFragment(std::string_view address) {
    return std::string(address.substr(0, address.find('#')));
}

std::size_t WebAddress::originLength(std::string_view address) {
    const auto schemeEnd = address.find("://");
    if (schemeEnd == std::string_view::npos) return 0;
    const auto pathStart = address.find_first_of("/?#", schemeEnd + 3);
    return pathStart == std::string_view::npos ? address.size() : pathStart;
}

std::string WebAddress::fileName(std::string_view address) {
    std::string_view path = address.substr(originLength(address));
    path = path.substr(0, path.find_first_of("?#"));
    const auto slash = path.rfind('/');
    if (slash != std::string_view::npos) path.remove_prefix(slash + 1);
    std::string name;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const int high = path[i] == '%' && i + 2 < path.size() ? hexValue(path[i + 1]) : -1;
        const int low = high >= 0 ? hexValue(path[i + 2]) : -1;
        if (low >= 0) {
            name += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            name += path[i];
        }
    }
    return name;
}

std::string WebAddress::resolve(std::string_view pageAddress, std::string_view link) {
    if (isWebAddress(link)) return std::string(link);
    const std::size_t origin = originLength(pageAddress);
    if (link.starts_with("//")) return std::string(pageAddress.substr(0, pageAddress.find("//"))) + std::string(link);
    if (link.starts_with('/')) return std::string(pageAddress.substr(0, origin)) + std::string(link);
    std::string_view path = pageAddress.substr(origin);
    path = path.substr(0, path.find_first_of("?#"));
    const auto slash = path.rfind('/');
    const std::string folder = std::string(pageAddress.substr(0, origin)) +
                               (slash == std::string_view::npos ? "/" : std::string(path.substr(0, slash + 1)));
    return folder + std::string(link);
}

std::string WebAddress::forDisplay(std::string_view address) {
    const auto schemeEnd = address.find("://");
    if (schemeEnd == std::string_view::npos) return std::string(address);
    const std::size_t hostStart = schemeEnd + 3;
    const std::size_t origin = originLength(address);
    const auto at = address.substr(0, origin).rfind('@');
    if (at == std::string_view::npos || at < hostStart) return std::string(address);
    return std::string(address.substr(0, hostStart)) + std::string(address.substr(at + 1));
}
