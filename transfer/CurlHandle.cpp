#include "transfer/CurlHandle.h"

#include <mutex>
#include <stdexcept>

namespace {

// curl_global_init is not thread-safe itself; it runs once and stays for the life of the process,
// as the handles of other threads may still be in use at exit.
void startCurlOnce() {
    static std::once_flag started;
    std::call_once(started, [] {
        if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) throw std::runtime_error("the network library did not start");
    });
}

} // namespace

CurlHandle::CurlHandle() {
    startCurlOnce();
    handle_ = curl_easy_init();
    if (!handle_) throw std::runtime_error("the network library did not start");
}

CurlHandle::~CurlHandle() {
    curl_easy_cleanup(handle_);
}

void CurlHandle::reset() {
    curl_easy_reset(handle_);
}
