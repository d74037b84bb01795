#include "core/exchange/http_get.h"

#include <cctype>

#include "core/exchange/curl_library.h"

namespace culvora::exchange {

namespace {

bool startsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
    }
    return true;
}

// The server's name for the messages: what stands between "//" and the path, without a user
// name, cut short and with control characters left out.
std::string hostOf(std::string_view address)
{
    auto start = address.find("//");
    std::string_view host = start == std::string_view::npos ? address : address.substr(start + 2);
    host = host.substr(0, host.find_first_of("/?#"));
    if (auto at = host.rfind('@'); at != std::string_view::npos) host.remove_prefix(at + 1);
    std::string shown;
    for (char c : host) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) continue;
        if (shown.size() == 80) {
            shown += "\u2026";
            break;
        }
        shown += c;
    }
    return "\"" + shown + "\"";
}

std::string sizeText(std::size_t bytes)
{
    constexpr std::size_t kMegabyte = 1024 * 1024;
    if (bytes >= kMegabyte && bytes % kMegabyte == 0) return std::to_string(bytes / kMegabyte) + " MB";
    return std::to_string(bytes) + " bytes";
}

std::string statusText(long status)
{
    switch (status) {
    case 401:
    case 403: return " (it does not let Culvora read the page)";
    case 404:
    case 410: return " (there is no such page)";
    case 429: return " (it has had too many requests; please try again later)";
    default:
        if (status >= 500) return " (the server has a problem; please try again later)";
        return "";
    }
}

struct Transfer {
    std::string body;
    std::size_t maxBytes = 0;
    bool tooLarge = false;
    const std::atomic<bool>* cancelled = nullptr;

    static std::size_t onBody(char* data, std::size_t size, std::size_t count, void* self)
    {
        auto* transfer = static_cast<Transfer*>(self);
        const std::size_t bytes = size * count;
        if (transfer->body.size() + bytes > transfer->maxBytes) {
            transfer->tooLarge = true;
            return 0;
        }
        transfer->body.append(data, bytes);
        return bytes;
    }

    static int onProgress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
    {
        const auto* transfer = static_cast<Transfer*>(self);
        return transfer->cancelled && transfer->cancelled->load() ? 1 : 0;
    }
};

class Handle {
public:
    Handle() : handle_(curl().init()) {}
    ~Handle()
    {
        if (handle_) curl().cleanup(handle_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    CURL* get() const { return handle_; }

private:
    CURL* handle_;
};

}  // namespace

bool isWebAddress(std::string_view text)
{
    return startsWithNoCase(text, "https://") || startsWithNoCase(text, "http://");
}

Result<HttpPage> httpGet(std::string_view address, const HttpLimits& limits,
                         const std::atomic<bool>* cancelled)
{
    if (!isWebAddress(address)) {
        return fail(ErrorCode::Invalid,
                    "Only web addresses that begin with https:// or http:// can be read.");
    }
    const std::string url(address);
    if (url.find_first_of(std::string_view(" \t\r\n\0", 5)) != std::string::npos) {
        return fail(ErrorCode::Invalid,
                    "A web address cannot hold blanks or line breaks; please check it.");
    }
    if (!curl().error.empty()) return fail(ErrorCode::Io, curl().error);
    Handle handle;
    CURL* h = handle.get();
    if (!h) return fail(ErrorCode::Io, "libcurl could not start a transfer.");

    Transfer transfer;
    transfer.maxBytes = limits.maxBytes;
    transfer.cancelled = cancelled;
    const bool secure = startsWithNoCase(address, "https://");
    const auto setopt = curl().setopt;
    setopt(h, CURLOPT_URL, url.c_str());
    setopt(h, CURLOPT_NOSIGNAL, 1L);
    setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    // A secure address stays secure: a redirect to plain http is not followed.
    setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, secure ? "https" : "http,https");
    setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    setopt(h, CURLOPT_MAXREDIRS, static_cast<long>(limits.maxRedirects));
    setopt(h, CURLOPT_SSL_VERIFYPEER, 1L);
    setopt(h, CURLOPT_SSL_VERIFYHOST, 2L);
    setopt(h, CURLOPT_CONNECTTIMEOUT, static_cast<long>(limits.connectSeconds));
    setopt(h, CURLOPT_TIMEOUT, static_cast<long>(limits.totalSeconds));
    setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
    setopt(h, CURLOPT_LOW_SPEED_TIME, static_cast<long>(limits.stallSeconds));
    setopt(h, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.maxBytes));
    // Compressed pages are welcome; the cap counts the bytes after unpacking.
    setopt(h, CURLOPT_ACCEPT_ENCODING, "");
    setopt(h, CURLOPT_USERAGENT, "Culvora/1.0 (recipe import)");
    setopt(h, CURLOPT_WRITEFUNCTION, &Transfer::onBody);
    setopt(h, CURLOPT_WRITEDATA, &transfer);
    setopt(h, CURLOPT_NOPROGRESS, 0L);
    setopt(h, CURLOPT_XFERINFOFUNCTION, &Transfer::onProgress);
    setopt(h, CURLOPT_XFERINFODATA, &transfer);

    const CURLcode result = curl().perform(h);
    const std::string host = hostOf(address);
    switch (result) {
    case CURLE_OK: break;
    case CURLE_ABORTED_BY_CALLBACK:
        return fail(ErrorCode::Refused, std::string(kFetchCancelledMessage));
    case CURLE_WRITE_ERROR:
    case CURLE_FILESIZE_EXCEEDED:
        if (result == CURLE_FILESIZE_EXCEEDED || transfer.tooLarge) {
            return fail(ErrorCode::Refused, "The page is larger than " +
                                                sizeText(limits.maxBytes) +
                                                ", more than a recipe page can be; it was not "
                                                "read.");
        }
        return fail(ErrorCode::Io, "The page could not be kept in memory.");
    case CURLE_URL_MALFORMAT:
        return fail(ErrorCode::Invalid, "This is not a web address Culvora can read; please check "
                                        "it.");
    case CURLE_UNSUPPORTED_PROTOCOL:
        return fail(ErrorCode::Refused,
                    "The page sends Culvora on to an address it does not follow (from https to "
                    "plain http, or not a web page at all); it was not read.");
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
        return fail(ErrorCode::NotFound, "The server " + host +
                                             " could not be found. Please check the address and "
                                             "the Internet connection.");
    case CURLE_COULDNT_CONNECT:
        return fail(ErrorCode::Io, "The server " + host +
                                       " could not be reached. Please check the address and the "
                                       "Internet connection.");
    case CURLE_OPERATION_TIMEDOUT:
        return fail(ErrorCode::Io, "The server " + host +
                                       " did not answer in time. Please try again later.");
    case CURLE_TOO_MANY_REDIRECTS:
        return fail(ErrorCode::Refused, "The address sends Culvora on to other addresses too many "
                                        "times; the page was not read.");
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
    case CURLE_SSL_INVALIDCERTSTATUS:
        return fail(ErrorCode::Refused, "The secure connection to " + host +
                                            " could not be made, or its certificate could not "
                                            "be trusted; the page was not read.");
    case CURLE_GOT_NOTHING:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_PARTIAL_FILE:
        return fail(ErrorCode::Io, "The connection to " + host +
                                       " broke off before the page was read whole. Please try "
                                       "again.");
    default:
        return fail(ErrorCode::Io, "The page could not be read (libcurl error " +
                                       std::to_string(static_cast<int>(result)) + ").");
    }

    long status = 0;
    curl().getinfo(h, CURLINFO_RESPONSE_CODE, &status);
    if (status >= 400) {
        return fail(status == 404 || status == 410 ? ErrorCode::NotFound : ErrorCode::Refused,
                    "The server " + host + " answered " + std::to_string(status) +
                        statusText(status) + ".");
    }
    HttpPage page;
    page.body = std::move(transfer.body);
    const char* effective = nullptr;
    curl().getinfo(h, CURLINFO_EFFECTIVE_URL, &effective);
    page.address = effective ? std::string(effective) : url;
    const char* type = nullptr;
    curl().getinfo(h, CURLINFO_CONTENT_TYPE, &type);
    if (type) page.contentType = type;
    return page;
}

}  // namespace culvora::exchange
