#pragma once

#include "support/ScriptServer.h"

#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

// The servers the upload tests send to, each a process on 127.0.0.1 that ends with the object:
// ftp_server.py (FTP and FTPS, on python3-pyftpdlib), put_server.py (HTTP PUT) and OpenSSH's sshd.
class UploadServer {
public:
    UploadServer(UploadServer&& other) noexcept;
    UploadServer& operator=(UploadServer&&) = delete;
    ~UploadServer();

    // What is missing for a kind of server, for the test's skip message; empty when all is there.
    static std::string missingForHttp();
    static std::string missingForFtp();
    static std::string missingForSsh();

    // extra: the scripts' options, such as {"--cut-after", "150000"}.
    static UploadServer ftp(const std::string& root, const std::string& user, const std::string& password,
                            const std::vector<std::string>& extra = {});
    static UploadServer http(const std::string& root, const std::vector<std::string>& extra = {});
    // sshd with a host key made in `folder`, letting in the running user with the key pair
    // folder/user_key, which it also makes.
    static UploadServer ssh(const std::string& folder);

    int port() const { return port_; }
    // Kills every session process of the server (sshd's children): its connections drop as when
    // a line goes dead, the server itself goes on.
    void dropSessions() const;
    std::string url(const std::string& scheme, const std::string& path = "/") const;

    // A port on 127.0.0.1 where nothing listens.
    static int closedPort();
    // The running user's name.
    static std::string userName();
    // Makes a self-signed certificate for 127.0.0.1 and its key in folder/cert.pem, folder/key.pem.
    static void makeCertificate(const std::string& folder);

private:
    UploadServer() = default;
    static UploadServer script(const std::vector<std::string>& argv);
    void stop();

    std::optional<ScriptServer> script_; // the Python servers
    pid_t pid_ = -1;                      // sshd
    int port_ = 0;
};
