#include "platform/xaudio/LocalHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int boundSocket(int* port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error("cannot bind a local socket");
    *port = ntohs(address.sin_port);
    return fd;
}

void sendAll(int fd, const std::string& data) {
    std::size_t sent = 0;
    while (sent < data.size()) {
        const ssize_t n = ::send(fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return;
        sent += static_cast<std::size_t>(n);
    }
}

} // namespace

LocalHttpServer::LocalHttpServer(std::string body, std::string contentType)
    : body_(std::move(body)), contentType_(std::move(contentType)) {
    listener_ = boundSocket(&port_);
    ::listen(listener_, 8);
    thread_ = std::thread([this] { serve(); });
}

LocalHttpServer::~LocalHttpServer() {
    stopping_ = true;
    ::shutdown(listener_, SHUT_RDWR); // wakes the blocked accept
    thread_.join();
    ::close(listener_);
}

std::string LocalHttpServer::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

int LocalHttpServer::closedPort() {
    int port = 0;
    ::close(boundSocket(&port));
    return port;
}

void LocalHttpServer::serve() {
    while (!stopping_) {
        const int client = ::accept(listener_, nullptr, nullptr);
        if (client < 0) {
            if (stopping_) return;
            continue;
        }
        char request[4096];
        (void)::recv(client, request, sizeof request, 0);
        sendAll(client, "HTTP/1.0 200 OK\r\nContent-Type: " + contentType_ +
                            "\r\nContent-Length: " + std::to_string(body_.size()) + "\r\n\r\n");
        sendAll(client, body_);
        ::close(client);
    }
}
