#include "core/exchange/ftp_session.h"

#include "core/text/text.h"

namespace culvora::exchange {

FtpSession::FtpSession(std::unique_ptr<FtpClient> client, SessionPrompts& prompts)
    : client_(std::move(client)),
      prompts_(prompts)
{
}

void FtpSession::configure(const ExchangeSettings& settings)
{
    server = settings.host;
    port = settings.port;
    user = settings.user;
    password = settings.password;
    limits = settings.limits;
    tls = settings.tls;
    caFile = settings.caFile;
}

void FtpSession::OpenSession()
{
    // The client needs nothing before it connects.
    sessionOpen_ = true;
}

void FtpSession::Connect()
{
    if (active_ || !sessionOpen_ || cancelled_) return;
    if (server.empty()) {
        prompts_.message(std::string(kNoServerMessage));
        return;
    }
    const int code =
        client_->connect({server, port, user, password, proxy, passive, limits, tls, caFile});
    if (code == 0) {
        active_ = true;
        lastError_ = 0;
        ListFolder("");
    } else {
        active_ = false;
        ErrorOut(code, "InternetConnect");
    }
}

bool FtpSession::ChangeFolder(std::string path)
{
    if (cancelled_) return false;
    if (path.empty()) {
        prompts_.message(std::string(kNoFolderMessage));
        return false;
    }
    // A path given as the server's address and a folder ("host/tavendi") loses the address.
    if (!server.empty() && path.find(server) != std::string::npos) {
        path.erase(0, std::min(path.size(), server.size()));
        if (path.empty()) path = "/";
    }
    const int code = active_ ? client_->changeFolder(text::toUtf8(path)) : kNotConnected;
    if (code != 0) {
        ErrorOut(code, "rcd");
        return false;
    }
    return true;
}

bool FtpSession::ListFolder(const std::string& path)
{
    listingNames.clear();
    if (cancelled_) return false;
    if (!path.empty()) ChangeFolder(path);
    std::vector<std::string> names;
    const int code = active_ ? client_->list(names) : kNotConnected;
    if (code == kNoMoreFiles) {
        prompts_.message(std::string(kEmptyFolderMessage));
        return false;
    }
    if (code != 0) {
        ErrorOut(code, "FtpFindFirstFile");
        return false;
    }
    listingNames = std::move(names);
    return true;
}

std::optional<std::string> FtpSession::HamtaFil(const std::string& remoteFolder,
                                                const std::string& fileName)
{
    if (cancelled_) return std::nullopt;
    if (!active_) {
        prompts_.message(std::string(kNotInSessionMessage));
        return std::nullopt;
    }
    // A folder that cannot be entered does not stop the fetch: it comes from the folder that
    // is current.
    ChangeFolder(remoteFolder);
    std::string content;
    const int code = active_ ? client_->get(text::toUtf8(fileName), content) : kNotConnected;
    if (code != 0) {
        ErrorOut(code, "FtpGetFile");
        return std::nullopt;
    }
    lastError_ = 0;
    return content;
}

bool FtpSession::PutFile(std::string_view content, const std::string& remoteName)
{
    if (cancelled_) return false;
    const int code = active_ ? client_->put(text::toUtf8(remoteName), content) : kNotConnected;
    if (code != 0) {
        ErrorOut(code, "FtpPutFile");
        return false;
    }
    lastError_ = 0;
    return true;
}

void FtpSession::CloseSession()
{
    client_->close();
    sessionOpen_ = false;
    active_ = false;
    server.clear();
    user.clear();
    password.clear();
    proxy.clear();
    listingNames.clear();
}

void FtpSession::ErrorOut(int code, std::string_view operationName)
{
    lastError_ = code;
    // A window that is closing has cancelled the session: nobody is there to answer.
    if (cancelled_) return;
    const std::string name(operationName);
    if (code == kReplyAvailable) {
        const FtpReply reply = client_->lastReply();
        prompts_.message(name + " Extd Err: " + std::to_string(reply.code) + " " + reply.text);
    }
    if (prompts_.askYesNo(name + " Err: " + std::to_string(code) + "\r\n" +
                          std::string(kCloseQuestion))) {
        CloseSession();
    }
}

void FtpSession::cancel()
{
    cancelled_ = true;
    client_->cancel();
}

}  // namespace culvora::exchange
