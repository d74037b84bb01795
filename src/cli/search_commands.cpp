// culvora-cli commands that find recipes as the two search screens do.
//
// A value the screens offer from a list (a recipe type, a Fridge-list word, a glass) and that
// the list does not hold is refused (exit 1) with a message that names it: the screens could
// not have searched for it, and "0 hits" would hide a typing mistake.

#include <algorithm>
#include <charconv>

#include "cli/commands.h"
#include "core/search/fridge_list.h"
#include "core/search/fridge_search.h"
#include "core/search/recipe_find.h"
#include "core/search/time_search.h"
#include "core/store/recipe_types.h"
#include "core/text/text.h"

namespace culvora::cli {

namespace {

struct Content {
    std::string book;
    std::string text;
};

Result<Content> cookbookContent(CliContext& c)
{
    auto book = c.existingBook();
    if (!book) return std::unexpected(book.error());
    auto text = c.folder.read(*book);
    if (!text) return std::unexpected(text.error());
    return Content{std::move(*book), std::move(*text)};
}

void printHits(CliContext& c, const Content& content, const std::vector<std::string>& hits,
               const char* listKey, const std::string& countLine)
{
    if (c.json()) {
        Json json(c.out);
        json.beginObject().key("cookbook").string(content.book).key(listKey).strings(hits);
        json.key("count").number(static_cast<std::int64_t>(hits.size())).endObject();
        return;
    }
    for (const auto& hit : hits) c.out.line(hit);
    c.out.line(countLine);
}

}  // namespace

int searchCommand(CliContext& c)
{
    search::TimeQuery query;
    auto type = c.toCp(*c.invocation.value("--type"));
    if (!type) return c.report(type.error());
    query.type = *type;
    const std::string minutes = *c.invocation.value("--max-time");
    int maxMinutes = 0;
    std::from_chars(minutes.data(), minutes.data() + minutes.size(), maxMinutes);
    query.maxMinutes = maxMinutes;
    for (const auto& value : c.invocation.values("--with")) {
        auto word = c.toCp(value);
        if (!word) return c.report(word.error());
        query.words.push_back(*word);
    }
    auto types = store::readTypes(c.folder);
    if (!types) return c.report(types.error());
    if (std::ranges::find(*types, query.type) == types->end()) {
        return c.report(Error{ErrorCode::NotFound, "There is no recipe type " +
                                                       text::quotedForMessage(query.type) +
                                                       " (\"types\" lists them)."});
    }
    auto content = cookbookContent(c);
    if (!content) return c.report(content.error());
    // The screen's time index only remembers the cookbook as it was when the screen opened;
    // here the index would be made from the same content, so each record's own time serves
    // and the cookbook is read once.
    const auto hits = search::searchByTime(content->text, query);
    printHits(c, *content, hits, "hits", std::to_string(hits.size()) + " hits");
    return kExitOk;
}

int fridgeCommand(CliContext& c)
{
    auto words = search::readFridgeList(c.folder);
    if (!words) return c.report(words.error());
    // The list as the screen shows it.
    std::stable_sort(words->begin(), words->end(), text::CollateLess{});
    std::vector<std::string> marked;
    for (const auto& arg : c.args()) {
        auto word = c.toCp(arg);
        if (!word) return c.report(word.error());
        const std::string wanted = text::toLower(*word);
        auto it = std::ranges::find_if(
            *words, [&](const std::string& entry) { return text::toLower(entry) == wanted; });
        if (it == words->end()) {
            return c.report(Error{ErrorCode::NotFound, "The word " + text::quotedForMessage(*word) +
                                                           " is not in the Fridge list."});
        }
        marked.push_back(*it);
    }
    auto content = cookbookContent(c);
    if (!content) return c.report(content.error());
    const auto found = search::fridgeSearch(content->text, *words, marked);
    printHits(c, *content, found, "recipes", search::foundText(found.size()));
    return kExitOk;
}

int findCommand(CliContext& c)
{
    auto query = c.toCp(c.args()[0]);
    if (!query) return c.report(query.error());
    auto content = cookbookContent(c);
    if (!content) return c.report(content.error());
    const search::RecipeFinder finder(content->text);
    const auto mode = c.has("--everywhere") ? search::FindMode::Everywhere : search::FindMode::Names;
    const auto names = finder.findNames(*query, mode);
    if (c.json()) {
        Json json(c.out);
        json.beginObject().key("cookbook").string(content->book).key("recipes").strings(names);
        json.key("count").number(static_cast<std::int64_t>(names.size())).endObject();
        return kExitOk;
    }
    // Nothing found is an answer, not a failure: the list is empty, as the browser's would be.
    for (const auto& name : names) c.out.line(name);
    return kExitOk;
}

}  // namespace culvora::cli
