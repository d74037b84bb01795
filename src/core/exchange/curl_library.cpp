#include "core/exchange/curl_library.h"

#include <dlfcn.h>

namespace culvora::exchange {

namespace {

template <class Function>
bool lookUp(void* library, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(::dlsym(library, name));
    return function != nullptr;
}

}  // namespace

const CurlLibrary& curl()
{
    static const CurlLibrary loaded = [] {
        CurlLibrary lib;
        void* library = ::dlopen(kCurlLibrary, RTLD_NOW | RTLD_LOCAL);
        if (!library) {
            const char* why = ::dlerror();
            lib.error = std::string("Culvora reaches servers through the library ") +
                        kCurlLibrary + " (libcurl), which could not be loaded" +
                        (why ? ": " + std::string(why) : "") +
                        ". Please install libcurl to download and upload recipes and to read "
                        "recipes from web addresses.";
            return lib;
        }
        const bool complete = lookUp(library, "curl_global_init", lib.globalInit) &&
                              lookUp(library, "curl_easy_init", lib.init) &&
                              lookUp(library, "curl_easy_cleanup", lib.cleanup) &&
                              lookUp(library, "curl_easy_reset", lib.reset) &&
                              lookUp(library, "curl_easy_setopt", lib.setopt) &&
                              lookUp(library, "curl_easy_perform", lib.perform) &&
                              lookUp(library, "curl_easy_getinfo", lib.getinfo);
        if (!complete) {
            lib = CurlLibrary{};
            lib.error = std::string("The library ") + kCurlLibrary +
                        " on this system lacks functions Culvora needs to reach servers. Please "
                        "install a current libcurl.";
            return lib;
        }
        // Once, before any handle, as libcurl asks; the library stays loaded from then on.
        lib.globalInit(CURL_GLOBAL_DEFAULT);
        return lib;
    }();
    return loaded;
}

}  // namespace culvora::exchange
