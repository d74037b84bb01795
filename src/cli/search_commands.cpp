// culvora-cli commands that find recipes as the two search screens do.

#include <algorithm>
#include <charconv>

#include "cli/cli.h"
#include "core/search/fridge_list.h"
#include "core/search/fridge_search.h"
#include "core/search/time_search.h"
#include "core/store/cookbook.h"
#include "core/text/text.h"

namespace culvora::cli {

namespace {

Result<std::string> cookbookContent(CliContext& c)
{
    const std::string book = c.currentBook();
    if (auto valid = checkCookbookFileName(book); !valid) return std::unexpected(valid.error());
    return c.folder.readOrEmpty(book);
}

int searchCommand(CliContext& c, std::span<const std::string> args)
{
    constexpr std::string_view usage = "search --type TYPE --max-time N [--with WORD]...";
    search::TimeQuery query;
    bool typed = false;
    bool timed = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (i + 1 >= args.size()) return c.usage(usage);
        const std::string& value = args[++i];
        if (args[i - 1] == "--type") {
            auto type = c.toCp(value);
            if (!type) return c.report(type.error());
            query.type = *type;
            typed = true;
        } else if (args[i - 1] == "--max-time") {
            int minutes = 0;
            const auto [end, error] =
                std::from_chars(value.data(), value.data() + value.size(), minutes);
            if (error != std::errc() || end != value.data() + value.size() || minutes < 0) {
                return c.usage(usage);
            }
            query.maxMinutes = minutes;
            timed = true;
        } else if (args[i - 1] == "--with") {
            auto word = c.toCp(value);
            if (!word) return c.report(word.error());
            query.words.push_back(*word);
        } else {
            return c.usage(usage);
        }
    }
    if (!typed || !timed) return c.usage(usage);
    auto content = cookbookContent(c);
    if (!content) return c.report(content.error());
    // The screen's time index only remembers the cookbook as it was when the screen opened;
    // here the index would be made from the same content, so each record's own time serves
    // and the cookbook is read once.
    const auto hits = search::searchByTime(*content, query);
    for (const auto& hit : hits) c.line(hit);
    c.line(std::to_string(hits.size()) + " hits");
    return kExitOk;
}

int fridgeCommand(CliContext& c, std::span<const std::string> args)
{
    auto words = search::readFridgeList(c.folder);
    if (!words) return c.report(words.error());
    // The list as the screen shows it.
    std::stable_sort(words->begin(), words->end(), text::CollateLess{});
    std::vector<std::string> marked;
    for (const auto& arg : args) {
        auto word = c.toCp(arg);
        if (!word) return c.report(word.error());
        const std::string wanted = text::toLower(*word);
        auto it = std::ranges::find_if(
            *words, [&](const std::string& entry) { return text::toLower(entry) == wanted; });
        if (it == words->end()) {
            return c.report(
                Error{ErrorCode::NotFound, "The word \"" + arg + "\" is not in the Fridge list."});
        }
        marked.push_back(*it);
    }
    auto content = cookbookContent(c);
    if (!content) return c.report(content.error());
    const auto found = search::fridgeSearch(*content, *words, marked);
    for (const auto& name : found) c.line(name);
    c.line(search::foundText(found.size()));
    return kExitOk;
}

const CliCommand kSearch{"search", "search --type TYPE --max-time N [--with WORD]...",
                         searchCommand};
const CliCommand kFridge{"fridge", "fridge WORD...", fridgeCommand};

}  // namespace

}  // namespace culvora::cli
