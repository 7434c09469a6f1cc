#include "transfer/SetServer.h"

namespace {

std::vector<std::string> command(const std::string& kind, const std::string& folder,
                                 const std::vector<std::string>& options) {
    std::vector<std::string> words{QUARVEL_TEST_PYTHON, QUARVEL_TEST_SET_SERVER, kind, folder};
    words.insert(words.end(), options.begin(), options.end());
    return words;
}

} // namespace

SetServer::SetServer(const std::string& kind, const std::string& folder, const std::vector<std::string>& options)
    : kind_(kind), server_(command(kind, folder, options)) {}

std::string SetServer::url(const std::string& name) const {
    return kind_ + "://127.0.0.1:" + std::to_string(server_.port()) + "/" + name;
}
