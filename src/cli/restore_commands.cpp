// culvora-cli's restore from a backup folder.

#include "cli/commands.h"
#include "core/text/text.h"
#include "core/transfer/restore.h"

namespace culvora::cli {

int restoreCommand(CliContext& c)
{
    auto plan = transfer::planRestore(c.folder, c.args()[0], c.currentBook());
    if (!plan) return c.report(plan.error());
    for (const auto& note : plan->notes) c.err.utf8Line(note);
    if (plan->items.empty()) return c.refuse("The backup holds nothing to restore.");
    // What it holds and what it replaces, whether it restores or not.
    for (const auto& item : plan->items) {
        c.out.line(item.file + "\t" + std::to_string(item.size) + " bytes\t" + item.modified +
                   "\t" + (item.replaces ? "replaces" : "new"));
    }
    if (!c.has("--yes")) {
        c.out.flush();
        return c.refuse("Nothing was restored: add --yes to replace these files.");
    }
    if (auto done = transfer::restore(c.folder, *plan); !done) return c.report(done.error());
    const auto count = plan->items.size();
    c.out.utf8Line("Restored " + std::to_string(count) + (count == 1 ? " file." : " files."));
    return kExitOk;
}

}  // namespace culvora::cli
