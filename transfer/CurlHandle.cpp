#include "transfer/CurlHandle.h"

#include "platform/xaudio/CurlLibrary.h"

#include <stdexcept>

CurlHandle::CurlHandle() {
    // Loads libcurl and starts it, once per process, on the first handle.
    handle_ = CurlLibrary::require().easyInit();
    if (!handle_) throw std::runtime_error("the network library did not start");
}

CurlHandle::~CurlHandle() {
    CurlLibrary::require().easyCleanup(handle_);
}

void CurlHandle::reset() {
    CurlLibrary::require().easyReset(handle_);
}
