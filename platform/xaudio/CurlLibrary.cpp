#include "platform/xaudio/CurlLibrary.h"

#include <dlfcn.h>

namespace {

template <typename Function>
bool resolve(void* handle, const char* name, Function& function, std::string& error) {
    function = reinterpret_cast<Function>(dlsym(handle, name));
    if (!function) error = std::string("the network library lacks ") + name;
    return function != nullptr;
}

} // namespace

bool CurlLibrary::load(std::string& error) {
    // Never closed: libcurl's global state lives until the program ends.
    void* handle = dlopen("libcurl.so.4", RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* reason = dlerror();
        error = std::string("the network library could not be loaded: ") + (reason ? reason : "libcurl.so.4");
        return false;
    }
    CURLcode (*globalInit)(long) = nullptr;
    if (!resolve(handle, "curl_global_init", globalInit, error) || !resolve(handle, "curl_easy_init", easyInit, error) ||
        !resolve(handle, "curl_easy_setopt", easySetopt, error) ||
        !resolve(handle, "curl_easy_perform", easyPerform, error) ||
        !resolve(handle, "curl_easy_cleanup", easyCleanup, error) ||
        !resolve(handle, "curl_easy_strerror", easyStrerror, error))
        return false;
    if (globalInit(CURL_GLOBAL_DEFAULT) != CURLE_OK) {
        error = "the network library could not start";
        return false;
    }
    return true;
}

const CurlLibrary::LoadedCurl& CurlLibrary::loaded() {
    // Loaded once, by whichever thread comes first (a function-local static).
    static const LoadedCurl result = [] {
        LoadedCurl attempt;
        static CurlLibrary library;
        if (library.load(attempt.error)) attempt.library = &library;
        return attempt;
    }();
    return result;
}

const CurlLibrary* CurlLibrary::instance() {
    return loaded().library;
}

std::string CurlLibrary::loadError() {
    return loaded().error;
}
