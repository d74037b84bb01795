#pragma once

// Where the recipe exchange is: one small file in the data folder, "exchange.ini", with the
// server's host, port and the account's user name. The defaults point at the exchange server
// that scripts/exchange-server runs on this computer; a community running its own server on
// the internet changes one line.
//
//   server=127.0.0.1
//   port=2121
//   user=culvora
//
// and, seldom needed, how patient the exchange is and whether it encrypts:
//
//   connect_timeout=10    seconds to reach the server
//   minimum_rate=1024     bytes a second a request keeps up ...
//   slow_time=20          ... or is given up after this many seconds below it
//   transfer_timeout=120  seconds one request may take in all
//   tls=try               off | try | required
//   ca=/path/to/ca.pem    the certificates tls=required verifies the server with (a bare
//                         file name lies in the data folder)
//
// tls=try is the default: a server that offers encryption gets it and the password no longer
// crosses the network in the clear, and a server that does not (as plain FTP servers answer
// AUTH TLS with a refusal) is used as before, so no user of a plain server has to change
// anything. Only "required" checks the server's certificate.

#include <optional>
#include <string>
#include <string_view>

#include "core/error.h"
#include "core/exchange/ftp_client.h"
#include "core/files/files.h"

namespace culvora::exchange {

inline constexpr std::string_view kSettingsFile = "exchange.ini";
inline constexpr std::string_view kDefaultHost = "127.0.0.1";
inline constexpr int kDefaultPort = 2121;
inline constexpr std::string_view kDefaultUser = "culvora";
// The exchange account's password: the same for every copy of the program.
inline constexpr std::string_view kPassword = "wobak";

struct ExchangeSettings {
    std::string host = std::string(kDefaultHost);
    int port = kDefaultPort;
    std::string user = std::string(kDefaultUser);
    std::string password = std::string(kPassword);
    TransferLimits limits;
    TlsMode tls = TlsMode::Try;
    std::string caFile;
};

// "key=value" lines; unknown keys and bad values are ignored (the default stays). A missing file
// gives the defaults. CULVORA_EXCHANGE_TIMEOUT (seconds) sets the connect, slow and transfer time
// limits at once, for tests.
ExchangeSettings parseExchangeSettings(std::string_view content);
Result<ExchangeSettings> readExchangeSettings(const ProgramFolder& folder);

// "ftp://user@host:port" (user and port optional) over the given settings; nothing when the text
// is not such an address.
std::optional<ExchangeSettings> settingsFromAddress(std::string_view address,
                                                    ExchangeSettings base = {});

}  // namespace culvora::exchange
