#pragma once

// One page fetched from a web server over HTTPS or HTTP, through libcurl (curl_library.h).
// Made for reading a recipe page: the whole body in memory, within time limits and a size cap,
// with few redirects, certificates checked, and a way to stop it from another thread.

#include <atomic>
#include <cstddef>
#include <string>
#include <string_view>

#include "core/error.h"

namespace culvora::exchange {

struct HttpLimits {
    int connectSeconds = 15;  // to reach the server
    int stallSeconds = 20;    // that the transfer may stand still
    int totalSeconds = 60;    // for the whole fetch, redirects included
    std::size_t maxBytes = 5 * 1024 * 1024;
    int maxRedirects = 5;
};

struct HttpPage {
    std::string body;
    std::string address;      // where the page was found in the end (after redirects)
    std::string contentType;  // the server's Content-Type, "text/html; charset=utf-8"
};

// True for an address that begins with "https://" or "http://" (in any letter case).
bool isWebAddress(std::string_view text);

// Fetches the page at an https:// or http:// address. A redirect from https to http is not
// followed. The body is cut off, and refused, once it grows past limits.maxBytes; a server
// answer of 400 or more is a failure too. Setting `cancelled` (from any thread) ends the fetch
// within about a second. Messages are UTF-8 sentences for the user.
Result<HttpPage> httpGet(std::string_view address, const HttpLimits& limits = {},
                         const std::atomic<bool>* cancelled = nullptr);

// The message of a fetch that `cancelled` stopped.
inline constexpr std::string_view kFetchCancelledMessage = "Reading the page was stopped.";

}  // namespace culvora::exchange
