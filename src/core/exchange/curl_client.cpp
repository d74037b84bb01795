// The exchange's FTP client on libcurl.
//
// libcurl is loaded when the exchange first connects, not linked: with it come some thirty
// libraries (TLS, Kerberos, LDAP, ...) whose loading made every start of the program and of
// culvora-cli cost tens of milliseconds, for the few sessions that talk to a server. Without
// libcurl on the system the exchange says so when it connects; nothing else needs it.

#include <curl/curl.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "core/exchange/curl_library.h"
#include "core/exchange/ftp_client.h"

namespace culvora::exchange {

namespace {

// Path pieces go into URLs: everything but unreserved characters is percent-encoded.
std::string encoded(std::string_view piece)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (char c : piece) {
        const auto u = static_cast<unsigned char>(c);
        if ((u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') ||
            c == '-' || c == '_' || c == '.' || c == '~') {
            out += c;
        } else {
            out += '%';
            out += kHex[u >> 4];
            out += kHex[u & 15];
        }
    }
    return out;
}

std::vector<std::string> segments(std::string_view path)
{
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start <= path.size()) {
        const auto slash = path.find('/', start);
        const auto piece = path.substr(
            start, slash == std::string_view::npos ? std::string_view::npos : slash - start);
        if (piece == "..") {
            if (!out.empty()) out.pop_back();
        } else if (!piece.empty() && piece != ".") {
            out.emplace_back(piece);
        }
        if (slash == std::string_view::npos) break;
        start = slash + 1;
    }
    return out;
}

class CurlClient final : public FtpClient {
public:
    CurlClient() = default;
    ~CurlClient() override { close(); }

    int connect(const FtpServer& server) override
    {
        close();
        server_ = server;
        if (!curl().error.empty()) {
            // The session shows the reply with the operation that failed.
            reply_ = {0, curl().error};
            return kReplyAvailable;
        }
        handle_ = curl().init();
        if (!handle_) return kClientErrorBase + CURLE_FAILED_INIT;
        connected_ = true;
        absolute_ = false;
        folder_.clear();
        // Logging in is the first request: the login folder, nothing transferred.
        const int result = perform(folderUrl(folder_, false), Request::Probe);
        if (result != 0) {
            connected_ = false;
            curl().cleanup(handle_);
            handle_ = nullptr;
        }
        return result;
    }

    int changeFolder(std::string_view path) override
    {
        if (!connected_) return kNotConnected;
        const bool absolute = path.starts_with('/');
        std::vector<std::string> folder = segments(path);
        // Going into the folder is how the server says whether it is there.
        const int result = perform(folderUrl(folder, absolute), Request::Probe);
        if (result == 0) {
            absolute_ = absolute;
            folder_ = std::move(folder);
        }
        return result;
    }

    int list(std::vector<std::string>& names) override
    {
        names.clear();
        if (!connected_) return kNotConnected;
        body_.clear();
        const int result = perform(folderUrl(folder_, absolute_), Request::List);
        if (result != 0) return result;
        std::size_t start = 0;
        while (start < body_.size() && names.size() < kMaxListingNames) {
            auto end = body_.find('\n', start);
            if (end == std::string::npos) end = body_.size();
            std::string_view name(body_.data() + start, end - start);
            if (name.ends_with('\r')) name.remove_suffix(1);
            // As the find record holds a name: up to its first NUL, at most 259 characters.
            name = name.substr(0, std::min(name.find('\0'), kMaxListingName));
            if (!name.empty()) names.emplace_back(name);
            start = end + 1;
        }
        body_.clear();
        return names.empty() ? kNoMoreFiles : 0;
    }

    int get(std::string_view fileName, std::string& content) override
    {
        content.clear();
        if (!connected_) return kNotConnected;
        body_.clear();
        const int result = perform(fileUrl(fileName), Request::Get);
        if (result == 0) content = std::move(body_);
        body_.clear();
        return result;
    }

    int put(std::string_view remoteName, std::string_view content) override
    {
        if (!connected_) return kNotConnected;
        upload_ = content;
        uploaded_ = 0;
        return perform(fileUrl(remoteName), Request::Put);
    }

    FtpReply lastReply() const override { return reply_; }

    void close() override
    {
        if (handle_) curl().cleanup(handle_);
        handle_ = nullptr;
        connected_ = false;
    }

private:
    enum class Request { Probe, List, Get, Put };

    std::string baseUrl() const
    {
        std::string host = server_.host;
        if (host.find(':') != std::string::npos && !host.starts_with('[')) host = "[" + host + "]";
        return "ftp://" + host + ":" + std::to_string(server_.port);
    }

    // A folder's URL ends in "/". "%2F" first makes the path absolute; without it curl walks
    // from the login folder.
    std::string folderUrl(const std::vector<std::string>& folder, bool absolute) const
    {
        std::string url = baseUrl() + "/";
        if (absolute) url += "%2F";
        for (std::size_t i = 0; i < folder.size(); ++i) {
            if (i > 0) url += '/';
            url += encoded(folder[i]);
        }
        if (!url.ends_with('/')) url += '/';
        return url;
    }

    std::string fileUrl(std::string_view name) const
    {
        return folderUrl(folder_, absolute_) + encoded(name);
    }

    static std::size_t onBody(char* data, std::size_t size, std::size_t count, void* self)
    {
        auto* client = static_cast<CurlClient*>(self);
        const std::size_t bytes = size * count;
        if (client->body_.size() + bytes > kMaxTransferBytes) {
            client->tooLarge_ = true;
            return 0;
        }
        client->body_.append(data, bytes);
        return bytes;
    }

    static std::size_t onUpload(char* buffer, std::size_t size, std::size_t count, void* self)
    {
        auto* client = static_cast<CurlClient*>(self);
        const std::size_t n = std::min(size * count, client->upload_.size() - client->uploaded_);
        std::memcpy(buffer, client->upload_.data() + client->uploaded_, n);
        client->uploaded_ += n;
        return n;
    }

    // The server's replies come here line by line; the last complete one is kept.
    static std::size_t onReply(char* data, std::size_t size, std::size_t count, void* self)
    {
        auto* client = static_cast<CurlClient*>(self);
        std::string_view line(data, size * count);
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
        if (line.size() >= 3 && std::all_of(line.begin(), line.begin() + 3,
                                            [](char c) { return c >= '0' && c <= '9'; })) {
            if (line.size() == 3 || line[3] == ' ') {
                client->reply_.code =
                    (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
                client->reply_.text = std::string(line.size() > 4 ? line.substr(4) : "");
            }
        }
        return size * count;
    }

    static int onProgress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
    {
        return static_cast<CurlClient*>(self)->cancelled() ? 1 : 0;
    }

    int perform(const std::string& url, Request request)
    {
        if (cancelled()) return kCancelled;
        CURL* h = handle_;
        const auto setopt = curl().setopt;
        curl().reset(h);
        setopt(h, CURLOPT_URL, url.c_str());
        setopt(h, CURLOPT_USERNAME, server_.user.c_str());
        setopt(h, CURLOPT_PASSWORD, server_.password.c_str());
        setopt(h, CURLOPT_NOSIGNAL, 1L);
        // Every request gets the limits afresh: a server that answers each one just in time
        // still cannot hold one for longer than transferTimeout.
        const TransferLimits& limits = server_.limits;
        setopt(h, CURLOPT_CONNECTTIMEOUT, static_cast<long>(limits.connectTimeout));
        setopt(h, CURLOPT_SERVER_RESPONSE_TIMEOUT, static_cast<long>(limits.slowTime));
        setopt(h, CURLOPT_LOW_SPEED_LIMIT, static_cast<long>(std::max(1, limits.minimumRate)));
        setopt(h, CURLOPT_LOW_SPEED_TIME, static_cast<long>(limits.slowTime));
        setopt(h, CURLOPT_TIMEOUT, static_cast<long>(limits.transferTimeout));
        // A size announced past the cap is refused before a byte comes; one announced below it
        // binds nothing: onBody counts what really arrives.
        setopt(h, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(kMaxTransferBytes));
        setopt(h, CURLOPT_PROTOCOLS_STR, "ftp");
        setopt(h, CURLOPT_TRANSFERTEXT, 0L);
        switch (server_.tls) {
        case TlsMode::Off: break;
        case TlsMode::Try:
            setopt(h, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_TRY));
            setopt(h, CURLOPT_SSL_VERIFYPEER, 0L);
            setopt(h, CURLOPT_SSL_VERIFYHOST, 0L);
            break;
        case TlsMode::Required:
            setopt(h, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
            setopt(h, CURLOPT_SSL_VERIFYPEER, 1L);
            setopt(h, CURLOPT_SSL_VERIFYHOST, 2L);
            if (!server_.caFile.empty()) setopt(h, CURLOPT_CAINFO, server_.caFile.c_str());
            break;
        }
        if (!server_.passive) setopt(h, CURLOPT_FTPPORT, "-");
        if (!server_.proxy.empty()) setopt(h, CURLOPT_PROXY, server_.proxy.c_str());
        setopt(h, CURLOPT_HEADERFUNCTION, &CurlClient::onReply);
        setopt(h, CURLOPT_HEADERDATA, this);
        setopt(h, CURLOPT_NOPROGRESS, 0L);
        setopt(h, CURLOPT_XFERINFOFUNCTION, &CurlClient::onProgress);
        setopt(h, CURLOPT_XFERINFODATA, this);
        setopt(h, CURLOPT_WRITEFUNCTION, &CurlClient::onBody);
        setopt(h, CURLOPT_WRITEDATA, this);
        switch (request) {
        case Request::Probe: setopt(h, CURLOPT_NOBODY, 1L); break;
        case Request::List: setopt(h, CURLOPT_DIRLISTONLY, 1L); break;
        case Request::Get: break;
        case Request::Put:
            setopt(h, CURLOPT_UPLOAD, 1L);
            setopt(h, CURLOPT_READFUNCTION, &CurlClient::onUpload);
            setopt(h, CURLOPT_READDATA, this);
            setopt(h, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(upload_.size()));
            break;
        }
        reply_ = {};
        tooLarge_ = false;
        char why[CURL_ERROR_SIZE] = {};
        setopt(h, CURLOPT_ERRORBUFFER, why);
        const CURLcode result = curl().perform(h);
        setopt(h, CURLOPT_ERRORBUFFER, static_cast<char*>(nullptr));
        if (result == CURLE_OK) return 0;
        switch (result) {
        case CURLE_ABORTED_BY_CALLBACK: return kCancelled;
        case CURLE_OPERATION_TIMEDOUT: return kTimedOut;
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_COULDNT_RESOLVE_PROXY: return kNameNotResolved;
        case CURLE_COULDNT_CONNECT: return kCannotConnect;
        case CURLE_FILESIZE_EXCEEDED: return kTooLarge;
        case CURLE_WRITE_ERROR:
            if (tooLarge_) return kTooLarge;
            break;
        case CURLE_USE_SSL_FAILED:
            reply_ = {0, "The exchange server offers no encrypted connection, and exchange.ini "
                         "asks for one (tls=required), so nothing was sent to it."};
            return kReplyAvailable;
        case CURLE_PEER_FAILED_VERIFICATION:
        case CURLE_SSL_CACERT_BADFILE:
        case CURLE_SSL_CONNECT_ERROR:
        case CURLE_SSL_CERTPROBLEM:
        case CURLE_SSL_ISSUER_ERROR:
        case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
            reply_ = {0, "The encrypted connection to the exchange server could not be made (" +
                             (why[0] ? std::string(why) : std::string("no reason given")) +
                             "), so nothing was sent to it. With tls=required the server's "
                             "certificate must verify: point ca= in exchange.ini at the "
                             "certificate that signed it, or ask the server's operator."};
            return kReplyAvailable;
        default: break;
        }
        // The server said no, and said why.
        if (reply_.code >= 400) return kReplyAvailable;
        switch (result) {
        case CURLE_PARTIAL_FILE:
        case CURLE_RECV_ERROR:
        case CURLE_SEND_ERROR:
        case CURLE_GOT_NOTHING:
        case CURLE_FTP_WEIRD_SERVER_REPLY:
        case CURLE_FTP_ACCEPT_FAILED:
        case CURLE_FTP_CANT_GET_HOST:
        case CURLE_FTP_WEIRD_PASV_REPLY:
        case CURLE_FTP_WEIRD_227_FORMAT: return kConnectionAborted;
        default: return kClientErrorBase + static_cast<int>(result);
        }
    }

    CURL* handle_ = nullptr;
    FtpServer server_;
    bool connected_ = false;
    bool absolute_ = false;
    std::vector<std::string> folder_;
    std::string body_;
    std::string_view upload_;
    std::size_t uploaded_ = 0;
    bool tooLarge_ = false;
    FtpReply reply_;
};

}  // namespace

std::unique_ptr<FtpClient> makeCurlClient()
{
    return std::make_unique<CurlClient>();
}

}  // namespace culvora::exchange
