#pragma once

#include <curl/curl.h>

#include <string>

// libcurl, loaded when the first stream, upload or download opens. Linking it would load it, with
// its TLS, SSH, Kerberos and LDAP libraries, into every start of quarvel-cli: that start then costs
// more than a whole tag rewrite, although only the network commands need it.
class CurlLibrary {
public:
    // The loaded library with libcurl's global start-up done, or null (see loadError) when
    // libcurl.so.4 is missing or lacks a function. Safe to call from any thread.
    static const CurlLibrary* instance();
    static std::string loadError();
    // The loaded library; throws std::runtime_error with loadError() when it cannot be loaded.
    static const CurlLibrary& require();

    CURL* (*easyInit)() = nullptr;
    CURLcode (*easySetopt)(CURL*, CURLoption, ...) = nullptr;
    CURLcode (*easyPerform)(CURL*) = nullptr;
    void (*easyCleanup)(CURL*) = nullptr;
    const char* (*easyStrerror)(CURLcode) = nullptr;
    void (*easyReset)(CURL*) = nullptr;
    CURLcode (*easyGetinfo)(CURL*, CURLINFO, ...) = nullptr;
    CURLM* (*multiInit)() = nullptr;
    CURLMcode (*multiCleanup)(CURLM*) = nullptr;
    CURLMcode (*multiAddHandle)(CURLM*, CURL*) = nullptr;
    CURLMcode (*multiRemoveHandle)(CURLM*, CURL*) = nullptr;
    CURLMcode (*multiPerform)(CURLM*, int*) = nullptr;
    CURLMsg* (*multiInfoRead)(CURLM*, int*) = nullptr;
    CURLMcode (*multiPoll)(CURLM*, curl_waitfd[], unsigned int, int, int*) = nullptr;
    CURLU* (*urlNew)() = nullptr;
    void (*urlCleanup)(CURLU*) = nullptr;
    CURLUcode (*urlGet)(const CURLU*, CURLUPart, char**, unsigned int) = nullptr;
    CURLUcode (*urlSet)(CURLU*, CURLUPart, const char*, unsigned int) = nullptr;
    void (*freeMemory)(void*) = nullptr;

private:
    struct LoadedCurl {
        const CurlLibrary* library = nullptr;
        std::string error;
    };

    CurlLibrary() = default;
    bool load(std::string& error);
    static const LoadedCurl& loaded();
};
