#pragma once

// Sending a recipe to the exchange: its exchange file is made in memory from the cookbook and
// goes from there to the server's upload folder. Nothing is written to the data folder, so a
// transfer that fails leaves nothing behind; sending again makes the file anew.

#include <string>
#include <string_view>

#include "core/error.h"
#include "core/exchange/exchange_formats.h"
#include "core/files/files.h"

namespace culvora::exchange {

struct ExchangeFile {
    std::string name;     // "20261210143005.tvx", from the time it was made
    std::string content;  // "[NAMN]", the name and the record's lines as the cookbook holds them
};

// The exchange file of a recipe of the cookbook (the record found by its name line, the n-th
// of that name), named by the time given. A name the cookbook does not hold is an error
// (ErrorCode::NotFound).
Result<ExchangeFile> WriteExchangeFile(const ProgramFolder& folder, const std::string& cookbookFile,
                                       std::string_view name, const LocalTime& time,
                                       std::size_t occurrence = 0);

}  // namespace culvora::exchange
