#include "platform/xaudio/MisbehavingHttpServer.h"

MisbehavingHttpServer::MisbehavingHttpServer(const std::string& mode, const std::string& file)
    : server_({QUARVEL_TEST_PYTHON, QUARVEL_TEST_HTTP_SERVER, mode, file}) {}

std::string MisbehavingHttpServer::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(server_.port()) + path;
}
