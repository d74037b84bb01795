#include "core/exchange/ftp_session.h"

#include "core/text/text.h"

namespace culvora::exchange {

FtpSession::FtpSession(std::unique_ptr<FtpClient> client, SessionPrompts& prompts,
                       ProgramFolder folder)
    : client_(std::move(client)),
      prompts_(prompts),
      folder_(std::move(folder))
{
}

void FtpSession::configure(const ExchangeSettings& settings)
{
    server = settings.host;
    port = settings.port;
    user = settings.user;
    password = settings.password;
    connectTimeout = settings.connectTimeout;
    stallTimeout = settings.stallTimeout;
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
    const int code = client_->connect(
        {server, port, user, password, proxy, passive, connectTimeout, stallTimeout});
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
    listingAttributes.clear();
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
    for (auto& name : names) {
        listingNames.push_back(std::move(name));
        listingAttributes.push_back(0x80);  // a normal file: the listing says no more
    }
    return true;
}

bool FtpSession::HamtaFil(const std::string& remoteFolder, const std::string& fileName)
{
    if (cancelled_) return false;
    if (!active_) {
        prompts_.message(std::string(kNotInSessionMessage));
        return false;
    }
    // A folder that cannot be entered does not stop the fetch: it comes from the folder that
    // is current.
    ChangeFolder(remoteFolder);
    std::string content;
    const int code = active_ ? client_->get(text::toUtf8(fileName), content) : kNotConnected;
    if (code != 0) {
        ErrorOut(code, "FtpGetFile");
        return false;
    }
    auto written = folder_.write(fileName, content, "exchange.tmp");
    if (!written) {
        prompts_.message(written.error().message);
        return false;
    }
    lastError_ = 0;
    return true;
}

bool FtpSession::PutFile(const std::string& localFileName, const std::string& remoteName)
{
    if (cancelled_) return false;
    auto content = folder_.read(localFileName);
    if (!content) {
        prompts_.message(content.error().message);
        return false;
    }
    const int code = active_ ? client_->put(text::toUtf8(remoteName), *content) : kNotConnected;
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
    listingAttributes.clear();
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
