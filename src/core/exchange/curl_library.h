#pragma once

// libcurl, loaded on first use rather than linked: with it come some thirty libraries (TLS,
// Kerberos, LDAP, ...) whose loading made every start of the program and of culvora-cli cost
// tens of milliseconds, for the few operations that talk to a server (the exchange's FTP
// client, the page fetch of the web import). Without libcurl on the system those operations
// say so; nothing else needs it.
//
// For the core's own sources only: it includes libcurl's header.

#include <curl/curl.h>

#include <string>

namespace culvora::exchange {

inline constexpr const char* kCurlLibrary = "libcurl.so.4";

// The handful of libcurl functions the clients call, looked up once.
struct CurlLibrary {
    decltype(&curl_global_init) globalInit = nullptr;
    decltype(&curl_easy_init) init = nullptr;
    decltype(&curl_easy_cleanup) cleanup = nullptr;
    decltype(&curl_easy_reset) reset = nullptr;
    decltype(&curl_easy_setopt) setopt = nullptr;
    decltype(&curl_easy_perform) perform = nullptr;
    decltype(&curl_easy_getinfo) getinfo = nullptr;
    std::string error;  // why it is not there, as a sentence for the user; empty when it is
};

// Loads the library the first time (thread-safe) and keeps it loaded.
const CurlLibrary& curl();

}  // namespace culvora::exchange
