// culvora-cli commands for the operator of an exchange server: the starter tree the server
// serves, and publishing a recipe that a user sent in. They work on the server's folder (--root),
// not on the cookbooks.

#include <filesystem>

#include "cli/commands.h"
#include "core/app/settings.h"
#include "core/exchange/exchange_operator.h"
#include "core/text/text.h"

namespace culvora::cli {

int exchangeInitCommand(CliContext& c)
{
    const std::filesystem::path root(*c.invocation.value("--root"));
    // The starter tree comes with the program, beside its other delivered files.
    const auto starter =
        app::deliveredData(app::executableFolder(), CULVORA_DATA_SOURCE) / exchange::kStarterFolder;
    auto report = exchange::initExchangeTree(starter, root);
    if (!report) return c.report(report.error());
    const std::string tree = (root / exchange::kExchangeFolder).string();
    if (report->existed) {
        c.out.utf8Line("The exchange tree in " + tree + " is there already; it was left as it is.");
        if (report->madeUploadFolder) c.out.utf8Line("Made its missing upload folder.");
    } else {
        c.out.utf8Line("Made the exchange tree in " + tree + ": " +
                       std::to_string(report->categories) + " categories with " +
                       std::to_string(report->recipes) +
                       " recipes, and the upload folder upload/.");
    }
    return kExitOk;
}

int exchangePublishCommand(CliContext& c)
{
    const std::filesystem::path root(*c.invocation.value("--root"));
    auto folder = c.toCp(c.args()[1]);
    if (!folder) return c.report(folder.error());
    auto published = exchange::publishExchangeFile(root, c.args()[0], *folder);
    if (!published) return c.report(published.error());
    c.out.utf8Line("Published " + text::quotedForMessage(published->name) + " in " + c.args()[1] +
                   ": " + published->file.string());
    if (!published->warning.empty()) {
        c.err.write(std::string(kProgram) + ": " + printable(published->warning) + "\n");
    }
    return kExitOk;
}

}  // namespace culvora::cli
