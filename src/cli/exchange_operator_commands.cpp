// culvora-cli commands for the operator of an exchange server: the starter tree the server
// serves, and publishing a recipe that a user sent in. They work on the server's folder (--root),
// not on the cookbooks.

#include <filesystem>

#include "cli/cli.h"
#include "core/app/settings.h"
#include "core/exchange/exchange_operator.h"
#include "core/text/text.h"

namespace culvora::cli {

namespace {

constexpr std::string_view kInitUsage = "exchange-init --root DIR";
constexpr std::string_view kPublishUsage = "exchange-publish --root DIR FILE.tvx FOLDER";

// "--root DIR" anywhere among the arguments; the others are returned in their order.
bool splitRoot(std::span<const std::string> args, std::filesystem::path& root,
               std::vector<std::string>& rest)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--root" && i + 1 < args.size() && root.empty() && !args[i + 1].empty()) {
            root = args[++i];
        } else if (args[i].starts_with("--")) {
            return false;
        } else {
            rest.push_back(args[i]);
        }
    }
    return !root.empty();
}

int exchangeInitCommand(CliContext& c, std::span<const std::string> args)
{
    std::filesystem::path root;
    std::vector<std::string> rest;
    if (!splitRoot(args, root, rest) || !rest.empty()) return c.usage(kInitUsage);
    // The starter tree comes with the program, beside its other delivered files.
    const auto starter =
        app::deliveredData(app::executableFolder(), CULVORA_DATA_SOURCE) / exchange::kStarterFolder;
    auto report = exchange::initExchangeTree(starter, root);
    if (!report) return c.report(report.error());
    const std::string tree = (root / exchange::kExchangeFolder).string();
    if (report->existed) {
        c.out << "The exchange tree in " << tree << " is there already; it was left as it is.\n";
        if (report->madeUploadFolder) c.out << "Made its missing upload folder.\n";
    } else {
        c.out << "Made the exchange tree in " << tree << ": " << report->categories
              << " categories with " << report->recipes
              << " recipes, and the upload folder upload/.\n";
    }
    return kExitOk;
}

int exchangePublishCommand(CliContext& c, std::span<const std::string> args)
{
    std::filesystem::path root;
    std::vector<std::string> rest;
    if (!splitRoot(args, root, rest) || rest.size() != 2) return c.usage(kPublishUsage);
    auto folder = c.toCp(rest[1]);
    if (!folder) return c.report(folder.error());
    auto published = exchange::publishExchangeFile(root, rest[0], *folder);
    if (!published) return c.report(published.error());
    c.out << "Published \"" << printable(text::toUtf8(published->name)) << "\" in " << rest[1]
          << ": " << published->file.string() << "\n";
    if (!published->warning.empty()) c.err << "culvora-cli: " << published->warning << "\n";
    return kExitOk;
}

const CliCommand kExchangeInit{"exchange-init", kInitUsage, exchangeInitCommand};
const CliCommand kExchangePublish{"exchange-publish", kPublishUsage, exchangePublishCommand};

}  // namespace

}  // namespace culvora::cli
