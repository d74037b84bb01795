#pragma once

// FtpSession: one window's session with the exchange server, and the way every failure is
// put to the user: the operation's name and the error code, the server's reply when it gave
// one, and the question whether to close the connection.
//
// The session moves bytes between the server and memory only: what it fetches is handed back,
// what it sends is handed to it, and it never touches a file of the data folder.
//
// The calls are synchronous. A window runs them on a worker thread so it stays painted and
// can be closed meanwhile; cancel() (from any thread) ends the running call, and every later
// one, without asking anything more.

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/exchange/exchange_settings.h"
#include "core/exchange/ftp_client.h"

namespace culvora::exchange {

// What the session asks of the user; the window shows these with the application's title.
// Texts are UTF-8.
class SessionPrompts {
public:
    virtual ~SessionPrompts() = default;
    virtual void message(const std::string& text) = 0;   // an OK box
    virtual bool askYesNo(const std::string& text) = 0;  // true for Yes
};

inline constexpr std::string_view kNoServerMessage = "Please enter a server name!";
inline constexpr std::string_view kNoFolderMessage = "Please enter the directory to CD";
inline constexpr std::string_view kEmptyFolderMessage = "This directory is empty!";
inline constexpr std::string_view kNotInSessionMessage = "Not in session";
inline constexpr std::string_view kCloseQuestion = "Close Connection and Session?";

class FtpSession {
public:
    FtpSession(std::unique_ptr<FtpClient> client, SessionPrompts& prompts);

    // The fields of the session; the window sets server, user and password when it opens.
    std::string server;
    int port = kDefaultPort;
    std::string user;
    std::string password = std::string(kPassword);
    std::string proxy;
    bool passive = true;
    TransferLimits limits;
    TlsMode tls = TlsMode::Try;
    std::string caFile;
    // The names of the last folder listing.
    std::vector<std::string> listingNames;

    // server, port, user, password, the time limits and the encryption from the settings.
    void configure(const ExchangeSettings& settings);

    bool sessionOpen() const { return sessionOpen_; }
    bool active() const { return active_; }

    void OpenSession();
    void Connect();
    // False when the folder could not be entered (the failure has been reported).
    bool ChangeFolder(std::string path);
    bool ListFolder(const std::string& path);
    // Folder and file names are Windows-1252, as the lists of the exchange hold them.
    // The bytes of a file of the server folder; nothing when it could not be fetched (the
    // failure has been reported).
    std::optional<std::string> HamtaFil(const std::string& remoteFolder,
                                        const std::string& fileName);
    // Stores the bytes as the file remoteName of the current server folder.
    bool PutFile(std::string_view content, const std::string& remoteName);
    void CloseSession();
    void ErrorOut(int code, std::string_view operationName);

    // Any thread: the running call ends, and nothing more is asked or done.
    void cancel();
    bool cancelled() const { return cancelled_; }

    // The last error code an operation reported (0 when none since the last success).
    int lastError() const { return lastError_; }

private:
    std::unique_ptr<FtpClient> client_;
    SessionPrompts& prompts_;
    bool sessionOpen_ = false;
    bool active_ = false;
    int lastError_ = 0;
    std::atomic<bool> cancelled_{false};
};

}  // namespace culvora::exchange
