#include "transfer/CurlHandle.h"

#include <mutex>
#include <stdexcept>

namespace {

// Once per process, from whichever thread needs a handle first (libcurl before 7.84 does not guard
// its start-up itself); it stays for the life of the process, as other threads' handles may still
// be in use at exit. Further calls, such as the window program's own at start, only count up.
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
