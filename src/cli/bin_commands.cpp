// culvora-cli commands for the bin: what was deleted, and putting it back.

#include "cli/commands.h"
#include "core/store/bin.h"
#include "core/text/text.h"

namespace culvora::cli {

int deletedCommand(CliContext& c)
{
    auto entries = store::readBin(c.folder);
    if (!entries) return c.report(entries.error());
    // Newest first, as the window lists them.
    if (c.json()) {
        Json json(c.out);
        json.beginObject().key("deleted").beginArray();
        for (auto it = entries->rbegin(); it != entries->rend(); ++it) {
            json.beginObject().key("name").string(it->name);
            json.key("kind").string(it->kind() == store::BinKind::Drink ? "drink" : "recipe");
            json.key("cookbook").string(it->title).key("file").string(it->file);
            json.key("deleted").string(it->deletedAt).endObject();
        }
        json.endArray().endObject();
        return kExitOk;
    }
    for (auto it = entries->rbegin(); it != entries->rend(); ++it) {
        c.out.line(it->name + "\t" + (it->title.empty() ? it->file : it->title) + "\t" +
                   it->deletedAt);
    }
    return kExitOk;
}

int undeleteCommand(CliContext& c)
{
    auto name = c.toCp(c.args()[0]);
    if (!name) return c.report(name.error());
    auto entries = store::readBin(c.folder);
    if (!entries) return c.report(entries.error());
    auto entry = store::newestNamed(*entries, *name);
    if (!entry) {
        return c.report(Error{ErrorCode::NotFound, "Nothing named " +
                                                       text::quotedForMessage(*name) +
                                                       " is in the bin."});
    }
    auto back = store::putBack(c.folder, *entry);
    if (!back) return c.report(back.error());
    std::string said = "Put back " + text::quotedForMessage(entry->name) + " into " +
                       text::quotedForMessage(back->title.empty() ? back->file : back->title);
    if (back->renamed) {
        said += " as " + text::quotedForMessage(back->name) + ", because the name was taken";
    }
    c.out.utf8Line(said + ".");
    if (!back->note.empty()) c.err.utf8Line(back->note);
    return kExitOk;
}

}  // namespace culvora::cli
