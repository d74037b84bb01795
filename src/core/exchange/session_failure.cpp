#include "core/exchange/session_failure.h"

namespace culvora::exchange {

namespace {

enum class Step { Connect, Folder, Listing, Fetch, Send, Other };

Step stepOf(std::string_view operation)
{
    if (operation == "InternetConnect" || operation == "InternetOpen") return Step::Connect;
    if (operation == "rcd") return Step::Folder;
    if (operation == "FtpFindFirstFile" || operation == "InternetFindNextFile") {
        return Step::Listing;
    }
    if (operation == "FtpGetFile") return Step::Fetch;
    if (operation == "FtpPutFile") return Step::Send;
    return Step::Other;
}

// "550 No such file or directory": the reply's code and text, without the full stop the
// sentence brings itself, and never a line of its own.
std::string replyText(const FtpReply& reply)
{
    std::string text;
    for (char c : reply.text) text += (c == '\r' || c == '\n') ? ' ' : c;
    while (!text.empty() && (text.back() == ' ' || text.back() == '.')) text.pop_back();
    if (reply.code == 0) return text;
    if (text.empty()) return std::to_string(reply.code);
    return std::to_string(reply.code) + " " + text;
}

// "the category \"bread\"", or "the folder" when nobody said which.
std::string the(const std::string& named, std::string_view otherwise)
{
    return "the " + (named.empty() ? std::string(otherwise) : named);
}

// "no category \"bread\"", or "no such folder".
std::string no(const std::string& named, std::string_view otherwise)
{
    return "no " + (named.empty() ? "such " + std::string(otherwise) : named);
}

std::string describe(std::string_view operation, int code, const std::optional<FtpReply>& reply,
                     const FailureSubject& subject)
{
    const Step step = stepOf(operation);
    const std::string at = subject.server.empty() ? "" : " at " + subject.server;
    const std::string server = "The exchange server" + at;
    const std::string theFile = the(subject.file, "file");
    const std::string theFolder = the(subject.folder, "folder");
    const std::string inBrackets = "(" + std::to_string(code) + ")";

    if (code == kReplyAvailable && reply) {
        // The client had no server to ask (the FTP library is missing): its own words.
        if (reply->code == 0) return replyText(*reply) + " " + inBrackets + ".";
        const std::string said = "(" + replyText(*reply) + ")";
        switch (step) {
        case Step::Connect:
            if (reply->code == 530) return server + " refused the login " + said + ".";
            return server + " turned the connection away " + said + ".";
        case Step::Folder:
            if (reply->code == 550) {
                return "The exchange server has " + no(subject.folder, "folder") + " " + said + ".";
            }
            return "The exchange server would not open " + theFolder + " " + said + ".";
        case Step::Fetch:
            if (reply->code == 550) {
                return "The exchange server has " + no(subject.file, "file") + " " + said + ".";
            }
            return "The exchange server would not send " + theFile + " " + said + ".";
        case Step::Send: return "The exchange server refused " + theFile + " " + said + ".";
        case Step::Listing: return "The exchange server would not list a folder " + said + ".";
        case Step::Other: break;
        }
        return server + " answered " + said + ".";
    }
    switch (code) {
    case kCannotConnect: return server + " could not be reached " + inBrackets + ".";
    case kNameNotResolved:
        return "The exchange server's name" +
               (subject.server.empty() ? std::string() : " in " + subject.server) +
               " could not be found " + inBrackets + ".";
    case kTimedOut: return server + " did not answer in time " + inBrackets + ".";
    case kConnectionAborted:
        return "The connection to the exchange server" + at + " broke off " + inBrackets + ".";
    case kTooLarge:
        return "The exchange server sent too much for " + theFile + " " + inBrackets + ".";
    case kNotConnected: return "There is no connection to the exchange server " + inBrackets + ".";
    case kCancelled: return "The exchange was cancelled " + inBrackets + ".";
    case kNoMoreFiles: return "The exchange server's folder is empty " + inBrackets + ".";
    default: break;
    }
    const std::string failed = " failed " + inBrackets + ".";
    switch (step) {
    case Step::Connect: return "Connecting to the exchange server" + at + failed;
    case Step::Folder: return "Opening " + theFolder + " on the exchange server" + failed;
    case Step::Listing: return "Listing a folder of the exchange server" + failed;
    case Step::Fetch: return "Fetching " + theFile + " from the exchange server" + failed;
    case Step::Send: return "Sending " + theFile + " to the exchange server" + failed;
    case Step::Other: break;
    }
    return "The exchange" + failed;
}

}  // namespace

std::string_view failureAdvice(int code)
{
    switch (code) {
    case kTimedOut: return kTooSlowAdvice;
    case kTooLarge: return kTooLargeAdvice;
    default: return {};
    }
}

std::string failureSentence(std::string_view operation, int code,
                            const std::optional<FtpReply>& reply, const FailureSubject& subject)
{
    std::string sentence = describe(operation, code, reply, subject);
    if (const std::string_view advice = failureAdvice(code); !advice.empty()) {
        sentence += ' ';
        sentence += advice;
    }
    return sentence;
}

}  // namespace culvora::exchange
