#pragma once

#include <chrono>
#include <string>

// What an upload needs besides the set: where to, and who logs in.
struct UploadRequest {
    std::string address;      // ftp://, ftps://, sftp://, http:// or https:// and a path
    std::string remoteFolder; // below the address's path; created when missing
    std::string user;         // empty: the address's own, or none
    std::string password;     // with identityFile, the pass phrase of that key as well
    std::string identityFile; // SFTP: a private key file to log in with
    std::string knownHostsFile; // SFTP: a server whose key differs from the one listed here is refused
    std::string caFile;       // FTPS and HTTPS: certificates to trust besides the system's
    // No byte moving for this long ends the connection (and a connection attempt takes no longer).
    std::chrono::seconds idleTimeout{30};

    // The user's own list of SSH servers (~/.ssh/known_hosts) when there is one, else empty.
    static std::string userKnownHostsFile();
};
