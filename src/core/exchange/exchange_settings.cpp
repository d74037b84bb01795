#include "core/exchange/exchange_settings.h"

#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "core/text/text.h"

namespace culvora::exchange {

namespace {

std::string_view trimmed(std::string_view s)
{
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

std::optional<int> number(std::string_view s, int low, int high)
{
    int value = 0;
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (error != std::errc() || end != s.data() + s.size() || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

ExchangeSettings parseExchangeSettings(std::string_view content)
{
    ExchangeSettings settings;
    TransferLimits& limits = settings.limits;
    for (auto line : text::splitLineViews(content)) {
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        const std::string key = text::toLower(trimmed(line.substr(0, equals)));
        const std::string_view value = trimmed(line.substr(equals + 1));
        if (key == "server" && !value.empty()) {
            settings.host = std::string(value);
        } else if (key == "port") {
            if (auto port = number(value, 1, 65535)) settings.port = *port;
        } else if (key == "user" && !value.empty()) {
            settings.user = std::string(value);
        } else if (key == "connect_timeout") {
            if (auto seconds = number(value, 1, 3600)) limits.connectTimeout = *seconds;
        } else if (key == "minimum_rate") {
            if (auto rate = number(value, 1, 1 << 30)) limits.minimumRate = *rate;
        } else if (key == "slow_time") {
            if (auto seconds = number(value, 1, 3600)) limits.slowTime = *seconds;
        } else if (key == "transfer_timeout") {
            if (auto seconds = number(value, 1, 86400)) limits.transferTimeout = *seconds;
        } else if (key == "tls") {
            const std::string mode = text::toLower(value);
            if (mode == "off") settings.tls = TlsMode::Off;
            if (mode == "try") settings.tls = TlsMode::Try;
            if (mode == "required") settings.tls = TlsMode::Required;
        } else if (key == "ca" && !value.empty()) {
            settings.caFile = text::toUtf8(value);
        }
    }
    if (const char* limit = std::getenv("CULVORA_EXCHANGE_TIMEOUT")) {
        if (auto seconds = number(limit, 1, 3600)) {
            limits.connectTimeout = *seconds;
            limits.slowTime = *seconds;
            limits.transferTimeout = *seconds;
        }
    }
    return settings;
}

Result<ExchangeSettings> readExchangeSettings(const ProgramFolder& folder)
{
    auto content = folder.readOrEmpty(kSettingsFile);
    if (!content) return std::unexpected(content.error());
    ExchangeSettings settings = parseExchangeSettings(*content);
    // A certificate file named without a folder lies beside exchange.ini.
    if (!settings.caFile.empty() && std::filesystem::path(settings.caFile).is_relative()) {
        settings.caFile = (folder.path() / settings.caFile).string();
    }
    return settings;
}

std::optional<ExchangeSettings> settingsFromAddress(std::string_view address, ExchangeSettings base)
{
    constexpr std::string_view scheme = "ftp://";
    if (!address.starts_with(scheme)) return std::nullopt;
    address.remove_prefix(scheme.size());
    if (address.ends_with('/')) address.remove_suffix(1);
    if (const auto at = address.rfind('@'); at != std::string_view::npos) {
        if (at == 0) return std::nullopt;
        base.user = std::string(address.substr(0, at));
        address.remove_prefix(at + 1);
    }
    if (const auto colon = address.rfind(':'); colon != std::string_view::npos) {
        auto port = number(address.substr(colon + 1), 1, 65535);
        if (!port) return std::nullopt;
        base.port = *port;
        address = address.substr(0, colon);
    }
    if (address.empty() || address.find('/') != std::string_view::npos) return std::nullopt;
    base.host = std::string(address);
    return base;
}

}  // namespace culvora::exchange
