#pragma once

// The FTP client the exchange session talks through. The session (ftp_session.h) decides what
// to do and what to tell the user; a client only moves bytes and says how it went. The one
// real client is libcurl's; tests put a client of their own in its place.
//
// Every call returns 0 on success or an error code. Two codes mean something of their own, as
// the session's messages know them: kReplyAvailable (the server answered with an error, and
// lastReply() holds that answer) and kNoMoreFiles (a folder listing found nothing).

#include <atomic>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace culvora::exchange {

inline constexpr int kReplyAvailable = 12003;
inline constexpr int kNoMoreFiles = 18;
// The other failures a client tells apart. A user reads these numbers in the error reports
// ("FtpGetFile Err: 12002") and may quote them, so each failure keeps its number.
inline constexpr int kNotConnected = 6;
inline constexpr int kTimedOut = 12002;
inline constexpr int kNameNotResolved = 12007;
inline constexpr int kCancelled = 12017;
inline constexpr int kCannotConnect = 12029;
inline constexpr int kConnectionAborted = 12030;
inline constexpr int kTooLarge = 12031;
// A failure of the client library itself: this base plus the library's own code.
inline constexpr int kClientErrorBase = 20000;

// Files larger than this are not recipes or indexes: the transfer stops there, whatever size
// the server announced.
inline constexpr std::size_t kMaxTransferBytes = 16 * 1024 * 1024;
// A listing keeps at most this many names, each cut where the platform's find record would cut
// it; the listing is shown nowhere, so a server's runaway names cost nothing more.
inline constexpr std::size_t kMaxListingNames = 10000;
inline constexpr std::size_t kMaxListingName = 259;

// How long the exchange waits and how slow it lets a server be. A recipe (a few kilobytes) or
// an index still arrives whole over a poor line; a server that drips a byte at a time, or
// trickles a huge file just fast enough, is given up on.
struct TransferLimits {
    int connectTimeout = 10;    // seconds to reach the server
    int minimumRate = 1024;     // bytes a second ...
    int slowTime = 20;          // ... a request may stay below for this many seconds
    int transferTimeout = 120;  // seconds one request may take in all
};

// Whether the connection is encrypted (FTP with AUTH TLS).
enum class TlsMode {
    Off,       // plain FTP
    Try,       // encrypted when the server offers it, plain otherwise; the certificate is not
               // checked, since whoever could forge one could as well strip the offer
    Required,  // encrypted or not at all, and only with a certificate that verifies
};

struct FtpServer {
    std::string host;
    int port = 21;
    std::string user;
    std::string password;
    std::string proxy;  // empty: a direct connection
    bool passive = true;
    TransferLimits limits;
    TlsMode tls = TlsMode::Off;
    std::string caFile;  // certificates to verify the server with; empty: the system's
};

struct FtpReply {
    int code = 0;      // 550
    std::string text;  // "No such file or directory."
};

class FtpClient {
public:
    virtual ~FtpClient() = default;

    // Connects and logs in; the current folder is then the one the login starts in.
    virtual int connect(const FtpServer& server) = 0;
    // An absolute path ("/tavendi"), or one taken from the folder the login started in
    // ("tavendi/upload"), so that going there again from anywhere still arrives.
    virtual int changeFolder(std::string_view path) = 0;
    // The names in the current folder.
    virtual int list(std::vector<std::string>& names) = 0;
    // A file of the current folder.
    virtual int get(std::string_view fileName, std::string& content) = 0;
    virtual int put(std::string_view remoteName, std::string_view content) = 0;
    // The server's last answer, for the extended error report.
    virtual FtpReply lastReply() const = 0;
    virtual void close() = 0;

    // May be called from another thread: the running call ends at once with kCancelled, and so
    // does every later one.
    void cancel() { cancelled_ = true; }
    bool cancelled() const { return cancelled_; }

private:
    std::atomic<bool> cancelled_{false};
};

// The libcurl client: one reused handle (the control connection stays open between calls),
// passive mode, binary transfers, its own notion of the current folder, the server's replies
// captured for lastReply(), the time limits and the encryption of FtpServer. Each call is one
// request to the server and gets the limits afresh. A refused or unverifiable encryption is
// kReplyAvailable with a reply (code 0) that says so in plain words.
std::unique_ptr<FtpClient> makeCurlClient();

}  // namespace culvora::exchange
