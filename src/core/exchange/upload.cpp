#include "core/exchange/upload.h"

#include "core/text/text.h"

namespace culvora::exchange {

Result<ExchangeFile> WriteExchangeFile(const ProgramFolder& folder, const std::string& cookbookFile,
                                       std::string_view name, const LocalTime& time,
                                       std::size_t occurrence)
{
    if (auto plain = checkCookbookFileName(cookbookFile); !plain) {
        return std::unexpected(plain.error());
    }
    auto content = folder.read(cookbookFile);
    if (!content) return std::unexpected(content.error());
    auto record = exchangeRecord(*content, name, occurrence);
    if (!record) {
        return fail(ErrorCode::NotFound, "The recipe " + text::quotedForMessage(name) +
                                             " is not in the cookbook, so there is nothing to "
                                             "send.");
    }
    return ExchangeFile{exchangeFileName(time), std::move(*record)};
}

}  // namespace culvora::exchange
