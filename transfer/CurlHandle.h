#pragma once

#include <curl/curl.h>

// One libcurl easy handle, cleaned up when the object goes. The library's global start-up runs
// once per process, before the first handle, from whichever thread comes first.
class CurlHandle {
public:
    CurlHandle();
    ~CurlHandle();
    CurlHandle(const CurlHandle&) = delete;
    CurlHandle& operator=(const CurlHandle&) = delete;

    CURL* get() const { return handle_; }
    // Forgets every option of the last transfer but keeps the open connections for the next.
    void reset();

private:
    CURL* handle_;
};
