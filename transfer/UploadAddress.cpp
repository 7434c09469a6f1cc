#include "transfer/UploadAddress.h"

#include "platform/xaudio/CurlLibrary.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <memory>

namespace {

struct SchemeName {
    std::string_view scheme;
    UploadAddress::Protocol protocol;
};
constexpr std::array<SchemeName, 5> kSchemes{{
    {"ftp", UploadAddress::Protocol::Ftp},
    {"ftps", UploadAddress::Protocol::Ftps},
    {"sftp", UploadAddress::Protocol::Sftp},
    {"http", UploadAddress::Protocol::Http},
    {"https", UploadAddress::Protocol::Https},
}};

constexpr const char* kSchemeHint = "the address must start with ftp://, ftps://, sftp://, http:// or https://";

std::string lower(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), [](unsigned char c) { return std::tolower(c); });
    return result;
}

using UrlParts = std::unique_ptr<CURLU, void (*)(CURLU*)>;

// One part of a parsed address, decoded when asked; empty when the address has none.
std::string part(CURLU* url, CURLUPart which, unsigned flags = 0) {
    char* text = nullptr;
    if (CurlLibrary::require().urlGet(url, which, &text, flags) != CURLUE_OK || !text) return {};
    std::string result(text);
    CurlLibrary::require().freeMemory(text);
    return result;
}

// The names of a folder path, without empty ones: "/a//b/" -> {"a", "b"}.
std::vector<std::string> folderNames(std::string_view path) {
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        if (end > start) names.emplace_back(path.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

// A name as one path segment: every byte but letters, digits and "-._~" percent-encoded.
std::string percentEncode(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    for (const unsigned char c : text) {
        if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~') {
            encoded += static_cast<char>(c);
        } else {
            encoded += '%';
            encoded += kHex[c >> 4];
            encoded += kHex[c & 15];
        }
    }
    return encoded;
}

} // namespace

std::optional<UploadAddress> UploadAddress::parse(const std::string& text, const std::string& remoteFolder,
                                                  std::string& problem) {
    const std::size_t schemeEnd = text.find("://");
    const std::string scheme = lower(text.substr(0, schemeEnd == std::string::npos ? 0 : schemeEnd));
    const auto known = std::find_if(kSchemes.begin(), kSchemes.end(),
                                    [&](const SchemeName& name) { return name.scheme == scheme; });
    if (schemeEnd == std::string::npos || known == kSchemes.end()) {
        problem = "Not an upload address: \"" + text + "\": " + kSchemeHint;
        return std::nullopt;
    }
    // The URL parser is libcurl's: without the library no address can be read, and nothing sent.
    const CurlLibrary* curl = CurlLibrary::instance();
    if (!curl) {
        problem = "Can't upload to \"" + text + "\": " + CurlLibrary::loadError();
        return std::nullopt;
    }
    UrlParts url(curl->urlNew(), curl->urlCleanup);
    if (!url || curl->urlSet(url.get(), CURLUPART_URL, text.c_str(), 0) != CURLUE_OK) {
        problem = "Not an upload address: \"" + text + "\"";
        return std::nullopt;
    }
    UploadAddress address;
    address.protocol_ = known->protocol;
    address.host_ = part(url.get(), CURLUPART_HOST);
    if (address.host_.empty()) {
        problem = "Not an upload address: \"" + text + "\" names no server";
        return std::nullopt;
    }
    address.port_ = part(url.get(), CURLUPART_PORT);
    address.user_ = part(url.get(), CURLUPART_USER, CURLU_URLDECODE);
    address.password_ = part(url.get(), CURLUPART_PASSWORD, CURLU_URLDECODE);
    std::string path = part(url.get(), CURLUPART_PATH);
    while (!path.empty() && path.back() == '/') path.pop_back();
    address.basePath_ = path;
    address.folderNames_ = folderNames(remoteFolder);
    if (std::any_of(address.folderNames_.begin(), address.folderNames_.end(),
                    [](const std::string& name) { return name == "." || name == ".."; })) {
        problem = "The remote folder \"" + remoteFolder + "\" may not hold \".\" or \"..\"";
        return std::nullopt;
    }
    return address;
}

std::string UploadAddress::origin(bool forCurl) const {
    std::string scheme(kSchemes[static_cast<std::size_t>(protocol_)].scheme);
    // Explicit FTPS is an ftp:// connection that libcurl is told to secure.
    if (forCurl && protocol_ == Protocol::Ftps && !implicitTls()) scheme = "ftp";
    std::string text = scheme + "://" + host_;
    if (!port_.empty()) text += ":" + port_;
    return text;
}

std::string UploadAddress::fileUrl(std::string_view fileName) const {
    std::string url = origin(true) + basePath_;
    for (const std::string& name : folderNames_) url.append(1, '/').append(percentEncode(name));
    return url.append(1, '/').append(percentEncode(fileName));
}

std::vector<std::string> UploadAddress::folderUrls() const {
    std::vector<std::string> urls;
    std::string url = origin(true);
    for (const std::string& name : folderNames(basePath_)) {
        url.append(1, '/').append(name); // as the address gives it, encoded already
        urls.push_back(url + '/');
    }
    for (const std::string& name : folderNames_) {
        url.append(1, '/').append(percentEncode(name));
        urls.push_back(url + '/');
    }
    return urls;
}

std::string UploadAddress::shown() const {
    std::string text = origin(false) + basePath_;
    for (const std::string& name : folderNames_) text += "/" + name;
    return text + "/";
}
