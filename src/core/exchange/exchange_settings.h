#pragma once

// Where the recipe exchange is: one small file in the data folder, "exchange.ini", with the
// server's host, port and the account's user name. The defaults point at the exchange server
// that scripts/exchange-server runs on this computer; a community running its own server on
// the internet changes one line.
//
//   server=127.0.0.1
//   port=2121
//   user=culvora

#include <optional>
#include <string>
#include <string_view>

#include "core/error.h"
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
    // How long a connection may take, and how long a transfer may stand still, in seconds.
    int connectTimeout = 10;
    int stallTimeout = 30;
};

// "key=value" lines; unknown keys and bad values are ignored (the default stays). A missing file
// gives the defaults. CULVORA_EXCHANGE_TIMEOUT (seconds) shortens both time limits, for tests.
ExchangeSettings parseExchangeSettings(std::string_view content);
Result<ExchangeSettings> readExchangeSettings(const ProgramFolder& folder);

// "ftp://user@host:port" (user and port optional) over the given settings; nothing when the text
// is not such an address.
std::optional<ExchangeSettings> settingsFromAddress(std::string_view address,
                                                    ExchangeSettings base = {});

}  // namespace culvora::exchange
