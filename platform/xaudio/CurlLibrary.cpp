#include "platform/xaudio/CurlLibrary.h"

#include <dlfcn.h>

#include <stdexcept>

namespace {

// One function of the library: its name there and the pointer that receives it.
// (A constructor rather than an aggregate: clang 14, which builds the fuzz targets, deduces the
// template argument only from a constructor.)
template <typename Function>
struct Symbol {
    Symbol(const char* symbolName, Function& target) : name(symbolName), function(target) {}
    const char* name;
    Function& function;
};

template <typename Function>
bool resolve(void* handle, const Symbol<Function>& symbol, std::string& error) {
    symbol.function = reinterpret_cast<Function>(dlsym(handle, symbol.name));
    if (!symbol.function) error = std::string("the network library lacks ") + symbol.name;
    return symbol.function != nullptr;
}

// Resolves the symbols in order and stops at the first one missing.
template <typename... Functions>
bool resolveAll(void* handle, std::string& error, const Symbol<Functions>&... symbols) {
    return (resolve(handle, symbols, error) && ...);
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
    const bool resolved = resolveAll(handle, error,
        Symbol{"curl_global_init", globalInit},
        Symbol{"curl_easy_init", easyInit},
        Symbol{"curl_easy_setopt", easySetopt},
        Symbol{"curl_easy_perform", easyPerform},
        Symbol{"curl_easy_cleanup", easyCleanup},
        Symbol{"curl_easy_strerror", easyStrerror},
        Symbol{"curl_easy_reset", easyReset},
        Symbol{"curl_easy_getinfo", easyGetinfo},
        Symbol{"curl_multi_init", multiInit},
        Symbol{"curl_multi_cleanup", multiCleanup},
        Symbol{"curl_multi_add_handle", multiAddHandle},
        Symbol{"curl_multi_remove_handle", multiRemoveHandle},
        Symbol{"curl_multi_perform", multiPerform},
        Symbol{"curl_multi_info_read", multiInfoRead},
        Symbol{"curl_multi_poll", multiPoll},
        Symbol{"curl_url", urlNew},
        Symbol{"curl_url_cleanup", urlCleanup},
        Symbol{"curl_url_get", urlGet},
        Symbol{"curl_url_set", urlSet},
        Symbol{"curl_free", freeMemory});
    if (!resolved) return false;
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
