#include "transfer/UploadServers.h"

#include "support/CliRun.h"
#include "support/FileBytes.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <netinet/in.h>
#include <pwd.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

const std::string kScripts = QUARVEL_TRANSFER_TEST_DIR;
const std::string kPython = "/usr/bin/python3"; // Debian's, which holds python3-pyftpdlib
const std::string kSshd = "/usr/sbin/sshd";

bool runsFine(const std::string& program, const std::vector<std::string>& arguments) {
    return ::access(program.c_str(), X_OK) == 0 &&
           CliRun::runProgram(program, arguments, {}, std::chrono::seconds(60)).exitCode == 0;
}

bool accepts(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool connected = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return connected;
}

pid_t spawn(const std::vector<std::string>& arguments, posix_spawn_file_actions_t* actions) {
    std::vector<std::string> words = arguments;
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], actions, nullptr, argv.data(), environ) != 0)
        throw std::runtime_error("cannot start " + arguments.front());
    return pid;
}

} // namespace

UploadServer::UploadServer(UploadServer&& other) noexcept
    : script_(std::move(other.script_)), pid_(other.pid_), port_(other.port_) {
    other.script_.reset();
    other.pid_ = -1;
}

UploadServer::~UploadServer() { stop(); }

void UploadServer::stop() {
    script_.reset();
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

std::string UploadServer::missingForHttp() {
    if (!runsFine(kPython, {"-c", "import http.server"})) return "python3 is not installed";
    return {};
}

std::string UploadServer::missingForFtp() {
    if (!runsFine(kPython, {"-c", "import pyftpdlib, OpenSSL"})) return "python3-pyftpdlib is not installed";
    if (!runsFine("/usr/bin/openssl", {"version"})) return "openssl is not installed";
    return {};
}

std::string UploadServer::missingForSsh() {
    if (::access(kSshd.c_str(), X_OK) != 0) return "openssh-server is not installed";
    if (::access("/usr/bin/ssh-keygen", X_OK) != 0) return "openssh-client is not installed";
    return {};
}

UploadServer UploadServer::script(const std::vector<std::string>& argv) {
    UploadServer server;
    server.script_.emplace(argv);
    if (!server.script_->skipReason().empty())
        throw std::runtime_error("the test server cannot run: " + server.script_->skipReason());
    server.port_ = server.script_->port();
    return server;
}

UploadServer UploadServer::ftp(const std::string& root, const std::string& user, const std::string& password,
                               const std::vector<std::string>& extra) {
    std::vector<std::string> argv{kPython, kScripts + "/ftp_server.py", root, user, password};
    argv.insert(argv.end(), extra.begin(), extra.end());
    return script(argv);
}

UploadServer UploadServer::http(const std::string& root, const std::vector<std::string>& extra) {
    std::vector<std::string> argv{kPython, kScripts + "/put_server.py", root};
    argv.insert(argv.end(), extra.begin(), extra.end());
    return script(argv);
}

UploadServer UploadServer::ssh(const std::string& folder) {
    for (const char* key : {"host_key", "user_key"}) {
        const CliRun made = CliRun::runProgram("/usr/bin/ssh-keygen", {"-q", "-t", "ed25519", "-N", "", "-f", folder + "/" + key},
                                               {}, std::chrono::seconds(60));
        if (made.exitCode != 0) throw std::runtime_error("ssh-keygen failed: " + made.err);
    }
    std::filesystem::copy_file(folder + "/user_key.pub", folder + "/authorized_keys");
    UploadServer server;
    server.port_ = closedPort();
    FileBytes::writeText(folder + "/sshd_config",
                         "Port " + std::to_string(server.port_) + "\n"
                         "ListenAddress 127.0.0.1\n"
                         "HostKey " + folder + "/host_key\n"
                         "PidFile none\n"
                         "AuthorizedKeysFile " + folder + "/authorized_keys\n"
                         "StrictModes no\n"
                         "UsePAM no\n"
                         "PasswordAuthentication no\n"
                         "KbdInteractiveAuthentication no\n"
                         "PubkeyAuthentication yes\n"
                         "PermitRootLogin prohibit-password\n"
                         "Subsystem sftp internal-sftp\n");
    // sshd started by root wants its privilege separation folder, which its service makes at boot.
    if (::geteuid() == 0) ::mkdir("/run/sshd", 0755);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, (folder + "/sshd.log").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    try {
        server.pid_ = spawn({kSshd, "-D", "-e", "-f", folder + "/sshd_config"}, &actions);
    } catch (...) {
        posix_spawn_file_actions_destroy(&actions);
        throw;
    }
    posix_spawn_file_actions_destroy(&actions);
    // A failsafe for a slow start, not a timing check; a server still running when it gives up
    // is ended with the object.
    for (int waited = 0; !accepts(server.port_); ++waited) {
        const bool ended = ::waitpid(server.pid_, nullptr, WNOHANG) == server.pid_;
        if (ended) server.pid_ = -1;
        if (ended || waited > 3000)
            throw std::runtime_error("sshd did not start: " + FileBytes::readText(folder + "/sshd.log"));
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return server;
}

void UploadServer::dropSessions() const {
    const pid_t server = script_ ? script_->pid() : pid_;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        // /proc/PID/stat: "pid (command) state ppid ..."; the command may hold blanks and brackets.
        std::ifstream file(entry.path().string() + "/stat"); // a process may end while we look
        std::string stat;
        if (!std::getline(file, stat)) continue;
        const std::size_t end = stat.rfind(')');
        if (end == std::string::npos) continue;
        int parent = 0;
        char state = 0;
        if (std::sscanf(stat.c_str() + end + 1, " %c %d", &state, &parent) == 2 && parent == server)
            ::kill(std::stoi(name), SIGKILL);
    }
}

std::string UploadServer::url(const std::string& scheme, const std::string& path) const {
    return scheme + "://127.0.0.1:" + std::to_string(port_) + path;
}

int UploadServer::closedPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(fd);
        throw std::runtime_error("cannot find a free port");
    }
    ::close(fd);
    return ntohs(address.sin_port);
}

std::string UploadServer::userName() {
    const passwd* entry = ::getpwuid(::geteuid());
    return entry ? entry->pw_name : "root";
}

void UploadServer::makeCertificate(const std::string& folder) {
    const CliRun made = CliRun::runProgram(
        "/usr/bin/openssl", {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=127.0.0.1",
                             "-addext", "subjectAltName=IP:127.0.0.1", "-keyout", folder + "/key.pem", "-out",
                             folder + "/cert.pem"},
        {}, std::chrono::seconds(60));
    if (made.exitCode != 0) throw std::runtime_error("openssl could not make a certificate: " + made.err);
}
