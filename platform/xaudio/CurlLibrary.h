#pragma once

#include <curl/curl.h>

#include <string>

// libcurl, loaded when the first stream opens. Linking it would load it, with its TLS, Kerberos
// and LDAP libraries, into every start of quarvel-cli: that start then costs more than a whole
// tag rewrite, although only http:// streams need it.
class CurlLibrary {
public:
    // The loaded library with libcurl's global start-up done, or null (see loadError) when
    // libcurl.so.4 is missing or lacks a function. Safe to call from any thread.
    static const CurlLibrary* instance();
    static std::string loadError();

    CURL* (*easyInit)() = nullptr;
    CURLcode (*easySetopt)(CURL*, CURLoption, ...) = nullptr;
    CURLcode (*easyPerform)(CURL*) = nullptr;
    void (*easyCleanup)(CURL*) = nullptr;
    const char* (*easyStrerror)(CURLcode) = nullptr;

private:
    struct LoadedCurl {
        const CurlLibrary* library = nullptr;
        std::string error;
    };

    CurlLibrary() = default;
    bool load(std::string& error);
    static const LoadedCurl& loaded();
};
