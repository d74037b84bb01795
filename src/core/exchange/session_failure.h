#pragma once

// A failed step of an exchange session in plain words, for a reader who cannot answer the
// window's question ("InternetConnect Err: 12029 / Close Connection and Session?"): what
// failed, said as a sentence, with the error code (or the server's reply) in brackets.
//
//   The exchange server at 127.0.0.1:2121 could not be reached (12029).
//   The exchange server at 127.0.0.1:2121 refused the login (530 Login incorrect).
//   The exchange server has no recipe "20250207080145" in "bread" (550 No such file).
//   The exchange server at 127.0.0.1:2121 did not answer in time (12002). The server sent too
//   little for too long; try again later or ask its operator.

#include <optional>
#include <string>
#include <string_view>

#include "core/exchange/ftp_client.h"

namespace culvora::exchange {

// What the session was at, as a sentence names it: noun phrases without an article, UTF-8,
// with any name already quoted ("category \"bread\"", "recipe \"2025…\" in category
// \"bread\"", "upload folder"). Empty when not known.
struct FailureSubject {
    std::string server;  // "127.0.0.1:2121"
    std::string folder;  // the folder being entered
    std::string file;    // the file being fetched or sent
};

// What a cook can do about a failure whose code alone tells them nothing they can act on (a
// server too slow, a file too large); empty for the other codes. The windows add it to their
// own texts; failureSentence ends with it.
inline constexpr std::string_view kTooSlowAdvice =
    "The server sent too little for too long; try again later or ask its operator.";
inline constexpr std::string_view kTooLargeAdvice =
    "The server sent more than any recipe or list of the exchange can be, so it was not kept.";
std::string_view failureAdvice(int code);

// The sentence for a failed operation of FtpSession: its name as the session reports it
// ("InternetConnect", "rcd", "FtpFindFirstFile", "InternetFindNextFile", "FtpGetFile",
// "FtpPutFile"), the error code, and the server's reply when the code is kReplyAvailable.
std::string failureSentence(std::string_view operation, int code,
                            const std::optional<FtpReply>& reply, const FailureSubject& subject);

}  // namespace culvora::exchange
