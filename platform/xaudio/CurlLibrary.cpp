#include "platform/xaudio/CurlLibrary.h"

#include <dlfcn.h>

#include <stdexcept>

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
        !resolve(handle, "curl_easy_strerror", easyStrerror, error) ||
        !resolve(handle, "curl_easy_reset", easyReset, error) ||
        !resolve(handle, "curl_easy_getinfo", easyGetinfo, error) ||
        !resolve(handle, "curl_multi_init", multiInit, error) ||
        !resolve(handle, "curl_multi_cleanup", multiCleanup, error) ||
        !resolve(handle, "curl_multi_add_handle", multiAddHandle, error) ||
        !resolve(handle, "curl_multi_remove_handle", multiRemoveHandle, error) ||
        !resolve(handle, "curl_multi_perform", multiPerform, error) ||
        !resolve(handle, "curl_multi_info_read", multiInfoRead, error) ||
        !resolve(handle, "curl_multi_poll", multiPoll, error) || !resolve(handle, "curl_url", urlNew, error) ||
        !resolve(handle, "curl_url_cleanup", urlCleanup, error) || !resolve(handle, "curl_url_get", urlGet, error) ||
        !resolve(handle, "curl_url_set", urlSet, error) || !resolve(handle, "curl_free", freeMemory, error))
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

const CurlLibrary& CurlLibrary::require() {
    const CurlLibrary* library = instance();
    if (!library) throw std::runtime_error(loadError());
    return *library;
}

std::string CurlLibrary::loadError() {
    return loaded().error;
}
