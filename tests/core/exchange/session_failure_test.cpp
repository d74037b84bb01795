#include <gtest/gtest.h>

#include "core/exchange/session_failure.h"

using namespace culvora::exchange;

namespace {

TEST(SessionFailure, EachFailureIsOnePlainSentenceWithItsCode)
{
    const FailureSubject subject{"127.0.0.1:2121", "category \"pies\"",
                                 "recipe \"20250207080145\" in category \"bread\""};
    struct Case {
        std::string_view operation;
        int code;
        std::optional<FtpReply> reply;
        std::string expected;
    };
    const Case cases[] = {
        {"InternetConnect",
         kCannotConnect,
         {},
         "The exchange server at 127.0.0.1:2121 could not be reached (12029)."},
        {"InternetConnect",
         kNameNotResolved,
         {},
         "The exchange server's name in 127.0.0.1:2121 could not be found (12007)."},
        // A timeout and an oversized file also say what a cook can do about them.
        {"InternetConnect",
         kTimedOut,
         {},
         "The exchange server at 127.0.0.1:2121 did not answer in time (12002). The server sent "
         "too little for too long; try again later or ask its operator."},
        {"FtpGetFile",
         kTimedOut,
         {},
         "The exchange server at 127.0.0.1:2121 did not answer in time (12002). The server sent "
         "too little for too long; try again later or ask its operator."},
        {"InternetConnect", kReplyAvailable, FtpReply{530, "Login incorrect."},
         "The exchange server at 127.0.0.1:2121 refused the login (530 Login incorrect)."},
        {"InternetConnect", kReplyAvailable, FtpReply{421, "Too many connections\r\n"},
         "The exchange server at 127.0.0.1:2121 turned the connection away (421 Too many "
         "connections)."},
        {"rcd", kReplyAvailable, FtpReply{550, "No such file or directory."},
         "The exchange server has no category \"pies\" (550 No such file or directory)."},
        {"FtpGetFile", kReplyAvailable, FtpReply{550, "No such file or directory."},
         "The exchange server has no recipe \"20250207080145\" in category \"bread\" (550 No "
         "such file or directory)."},
        {"FtpPutFile", kReplyAvailable, FtpReply{553, "Not allowed."},
         "The exchange server refused the recipe \"20250207080145\" in category \"bread\" (553 "
         "Not allowed)."},
        {"FtpGetFile",
         kConnectionAborted,
         {},
         "The connection to the exchange server at 127.0.0.1:2121 broke off (12030)."},
        {"FtpGetFile",
         kTooLarge,
         {},
         "The exchange server sent too much for the recipe \"20250207080145\" in category "
         "\"bread\" (12031). The server sent more than any recipe or list of the exchange can "
         "be, so it was not kept."},
        {"FtpPutFile", kNotConnected, {}, "There is no connection to the exchange server (6)."},
        {"FtpGetFile",
         kClientErrorBase + 77,
         {},
         "Fetching the recipe \"20250207080145\" in category \"bread\" from the exchange "
         "server failed (20077)."},
        {"rcd", kReplyAvailable, FtpReply{450, "Busy"},
         "The exchange server would not open the category \"pies\" (450 Busy)."},
        // Without a library to ask the server with, the client's own sentence stands.
        {"InternetConnect", kReplyAvailable, FtpReply{0, "The recipe exchange needs libcurl."},
         "The recipe exchange needs libcurl (12003)."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(failureSentence(c.operation, c.code, c.reply, subject), c.expected)
            << c.operation << " " << c.code;
    }
}

TEST(SessionFailure, WithoutASubjectTheSentenceStillReadsWell)
{
    EXPECT_EQ(failureSentence("rcd", kReplyAvailable, FtpReply{550, ""}, {}),
              "The exchange server has no such folder (550).");
    EXPECT_EQ(failureSentence("FtpGetFile", kConnectionAborted, std::nullopt, {}),
              "The connection to the exchange server broke off (12030).");
    EXPECT_EQ(failureSentence("InternetConnect", kCannotConnect, std::nullopt, {}),
              "The exchange server could not be reached (12029).");
}

}  // namespace
