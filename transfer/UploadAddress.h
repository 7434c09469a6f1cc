#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Where a set goes: a server address (ftp://, ftps://, sftp://, http:// or https://, the latter
// two by PUT as WebDAV takes it) and a remote folder below the address's own path.
//
// A user name and password written into the address are taken out of it, so that no message
// shows them and the request's own credentials can take their place.
class UploadAddress {
public:
    enum class Protocol { Ftp, Ftps, Sftp, Http, Https };

    // Empty, with `problem` set to a message for the user, when the text is no address we can
    // upload to.
    static std::optional<UploadAddress> parse(const std::string& text, const std::string& remoteFolder,
                                              std::string& problem);

    Protocol protocol() const { return protocol_; }
    bool isHttp() const { return protocol_ == Protocol::Http || protocol_ == Protocol::Https; }
    // ftps:// on port 990 speaks TLS from the first byte; on any other port the connection starts
    // plain and turns to TLS before the login (explicit FTPS), which the servers of today offer.
    bool implicitTls() const { return protocol_ == Protocol::Ftps && port_ == "990"; }
    const std::string& user() const { return user_; }
    const std::string& password() const { return password_; }

    // The address of a file in the remote folder, its name percent-encoded.
    std::string fileUrl(std::string_view fileName) const;
    // The remote folder and each folder above it, outermost first, each ending in "/" (for
    // servers that create folders one level at a time).
    std::vector<std::string> folderUrls() const;
    // The address for messages: without user name and password.
    std::string shown() const;

private:
    std::string origin(bool forCurl) const;

    Protocol protocol_ = Protocol::Ftp;
    std::string host_;
    std::string port_;
    std::string user_;
    std::string password_;
    std::string basePath_;                  // the address's path, no trailing "/"
    std::vector<std::string> folderNames_; // the remote folder's names, in order
};
