// culvora-cli's recipe exchange: the categories and recipes of the exchange server, a
// download into a cookbook and an upload, through the same session the windows use. The
// session's messages go to stderr; its question whether to close the connection is answered
// Yes, since nobody is there to go on.

#include <iostream>

#include "cli/cli.h"
#include "core/exchange/download.h"
#include "core/exchange/exchange_formats.h"
#include "core/exchange/exchange_settings.h"
#include "core/exchange/ftp_session.h"
#include "core/exchange/upload.h"
#include "core/store/cookbook_list.h"
#include "core/text/text.h"

namespace culvora::cli {

namespace {

using namespace exchange;

class CliPrompts : public SessionPrompts {
public:
    explicit CliPrompts(std::ostream& err) : err_(err) {}
    void message(const std::string& text) override { say(text); }
    bool askYesNo(const std::string& text) override
    {
        say(text);
        return true;
    }

private:
    void say(const std::string& text)
    {
        // The question's line break becomes a blank: one message, one line.
        std::string shown;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\r' || text[i] == '\n') {
                if (!shown.ends_with(' ')) shown += ' ';
            } else {
                shown += text[i];
            }
        }
        err_ << "culvora-cli: " << printable(shown) << "\n";
    }
    std::ostream& err_;
};

constexpr std::string_view kUsage =
    "exchange categories | recipes FOLDER | download FOLDER STEM --to TITLE [--name NEWNAME] | "
    "upload NAME   [--server ftp://user@host:port]";

struct Connection {
    CliPrompts prompts;
    FtpSession session;
    Connection(CliContext& c, const ExchangeSettings& settings)
        : prompts(c.err),
          session(makeCurlClient(), prompts)
    {
        session.configure(settings);
        session.OpenSession();
        session.Connect();
    }
};

int failed(CliContext& c, const std::string& message)
{
    c.err << "culvora-cli: " << printable(message) << "\n";
    return kExitFailed;
}

// Nobody is there to ask. A name given with --name is the one answer, already tried; without
// one, a taken name gives way to the numbered name proposed ("Pancakes (2)"), as an import
// does.
class CliNamer : public RecipeNamer {
public:
    explicit CliNamer(bool takeProposed) : takeProposed_(takeProposed) {}
    std::optional<std::string> anotherName(const std::string& current,
                                           const std::string& proposed) override
    {
        taken = current;
        if (!takeProposed_ || refusal || proposed == current) return std::nullopt;
        return proposed;
    }
    void refused(const Error& why) override
    {
        if (!refusal) refusal = why;
    }
    std::string taken;
    std::optional<Error> refusal;

private:
    bool takeProposed_;
};

int categories(CliContext& c, Connection& connection)
{
    auto list = fetchCategories(connection.session);
    if (!list) return failed(c, list.error().message);
    for (const Category& category : list->categories) {
        c.line((category.kind == CategoryKind::Child ? "  " : "") + category.name + "\t" +
               category.folder);
    }
    if (!list->message.empty()) {
        c.out << "\n";
        for (auto line : text::splitLineViews(list->message)) c.line(line);
    }
    if (!list->complete) return failed(c, "The category list stops early: " + list->problem + ".");
    return kExitOk;
}

int recipes(CliContext& c, Connection& connection, const std::string& folder)
{
    auto index = fetchRecipeIndex(connection.session, folder);
    if (!index) return failed(c, index.error().message);
    // The stem last: it is what "exchange download" takes.
    for (const IndexedRecipe& recipe : index->recipes) {
        c.line(recipe.name + "\t" + recipe.dateTime + "\t" + recipe.stem);
    }
    if (!index->complete) return failed(c, "The recipe list of this category stops early.");
    return kExitOk;
}

int download(CliContext& c, Connection& connection, const std::string& folder,
             const std::string& stem, const std::string& title, const std::string& newName)
{
    // The cookbook first: a title that is not there needs no transfer to say so.
    auto book = store::CookbookList(c.folder).fileOf(title);
    if (!book) return c.report(book.error());
    auto content = fetchExchangeFile(connection.session, folder, stem);
    if (!content) return failed(c, content.error().message);
    CliNamer namer(newName.empty());
    auto added = addExchangeRecipe(c.folder, *book, *content, namer, newName);
    if (!added) return failed(c, added.error().message);
    if (!added->added) {
        if (namer.refusal) return failed(c, namer.refusal->message);
        return failed(c, "The cookbook already holds a recipe named \"" +
                             text::toUtf8(namer.taken) + "\". Give it another name with --name.");
    }
    if (newName.empty() && added->name != added->ownName) {
        c.line("The cookbook already holds a recipe named \"" + added->ownName +
               "\", so this one was added as \"" + added->name + "\".");
    }
    c.out << "Download successful!\n";
    return kExitOk;
}

int upload(CliContext& c, Connection& connection, const std::string& name)
{
    if (!connection.session.active()) return failed(c, "There is no connection to the exchange.");
    auto file = WriteExchangeFile(c.folder, c.currentBook(), name, localNow());
    if (!file) return failed(c, file.error().message);
    connection.session.ChangeFolder(std::string(kUploadFolder));
    if (!connection.session.PutFile(file->content, file->name)) return kExitFailed;
    c.line("Sent as " + file->name + ".");
    c.out << "Thank you! Your recipe will be online within 24 hours.\n";
    return kExitOk;
}

int exchangeCommand(CliContext& c, std::span<const std::string> args)
{
    std::vector<std::string> words;
    std::string server;
    std::string title;
    std::string newName;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--server" && i + 1 < args.size()) {
            server = args[++i];
        } else if (args[i] == "--to" && i + 1 < args.size()) {
            title = args[++i];
        } else if (args[i] == "--name" && i + 1 < args.size()) {
            newName = args[++i];
        } else if (args[i].starts_with("--")) {
            return c.usage(kUsage);
        } else {
            auto word = c.toCp(args[i]);
            if (!word) return c.report(word.error());
            words.push_back(*word);
        }
    }
    if (words.empty()) return c.usage(kUsage);
    const std::string& what = words[0];
    const bool known = (what == "categories" && words.size() == 1) ||
                       (what == "recipes" && words.size() == 2) ||
                       (what == "download" && words.size() == 3 && !title.empty()) ||
                       (what == "upload" && words.size() == 2);
    if (!known) return c.usage(kUsage);
    auto cpTitle = c.toCp(title);
    auto cpName = c.toCp(newName);
    if (!cpTitle) return c.report(cpTitle.error());
    if (!cpName) return c.report(cpName.error());

    auto settings = readExchangeSettings(c.folder);
    if (!settings) return c.report(settings.error());
    if (!server.empty()) {
        auto given = settingsFromAddress(server, *settings);
        if (!given) return c.usage(kUsage);
        settings = *given;
    }
    Connection connection(c, *settings);
    if (!connection.session.active()) return kExitFailed;
    int result = kExitUsage;
    if (what == "categories") result = categories(c, connection);
    if (what == "recipes") result = recipes(c, connection, words[1]);
    if (what == "download") result = download(c, connection, words[1], words[2], *cpTitle, *cpName);
    if (what == "upload") result = upload(c, connection, words[1]);
    connection.session.CloseSession();
    return result;
}

const CliCommand kExchange{"exchange", kUsage, exchangeCommand};

}  // namespace

}  // namespace culvora::cli
