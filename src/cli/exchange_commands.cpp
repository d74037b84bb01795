// culvora-cli's recipe exchange: the categories and recipes of the exchange server, a
// download into a cookbook and an upload, through the same session the windows use.
//
// Nobody is there to answer the session's question whether to close the connection: a failed
// step closes it, and the failure is said once, in plain words with its code in brackets
// (failureSentence), instead of the window's question. What the session only tells (an empty
// folder) goes to stderr as it is.

#include <charconv>

#include "cli/commands.h"
#include "core/exchange/download.h"
#include "core/exchange/exchange_formats.h"
#include "core/exchange/exchange_settings.h"
#include "core/exchange/ftp_session.h"
#include "core/exchange/session_failure.h"
#include "core/exchange/upload.h"
#include "core/store/cookbook_list.h"
#include "core/text/text.h"

namespace culvora::cli {

namespace {

using namespace exchange;

class CliPrompts : public SessionPrompts {
public:
    explicit CliPrompts(Output& err) : err_(err) {}

    // What the session is at, for the sentence of a failure.
    FailureSubject subject;

    void message(const std::string& text) override
    {
        if (reported_) return;
        // "rcd Extd Err: 550 No such file": the server's reply comes before the question, and
        // goes into the question's sentence.
        constexpr std::string_view kExtended = " Extd Err: ";
        if (const auto at = text.find(kExtended); at != std::string::npos) {
            FtpReply reply;
            const std::string_view rest = std::string_view(text).substr(at + kExtended.size());
            const auto [end, error] =
                std::from_chars(rest.data(), rest.data() + rest.size(), reply.code);
            reply.text = std::string(end, rest.data() + rest.size());
            if (reply.text.starts_with(' ')) reply.text.erase(0, 1);
            reply_ = std::move(reply);
            return;
        }
        say(text);
    }

    bool askYesNo(const std::string& text) override
    {
        if (!reported_) {
            constexpr std::string_view kErr = " Err: ";
            const auto at = text.find(kErr);
            int code = 0;
            if (at != std::string::npos) {
                const char* digits = text.data() + at + kErr.size();
                std::from_chars(digits, text.data() + text.size(), code);
            }
            if (at == std::string::npos || code == 0) {
                say(text);
            } else {
                const std::string operation = text.substr(0, at);
                say(failureSentence(operation, code,
                                    code == kReplyAvailable ? reply_ : std::nullopt, subject));
            }
            reported_ = true;
        }
        reply_.reset();
        // Closing: nobody is there to go on, and a step after a failed one would only fail
        // again or work in the wrong folder.
        return true;
    }

    // True once a failure has been said: what fails after it follows from it.
    bool reported() const { return reported_; }

private:
    void say(const std::string& text)
    {
        // One message, one line.
        std::string shown;
        for (char ch : text) {
            if (ch == '\r' || ch == '\n') {
                if (!shown.ends_with(' ')) shown += ' ';
            } else {
                shown += ch;
            }
        }
        err_.write(std::string(kProgram) + ": " + printable(shown) + "\n");
    }

    Output& err_;
    std::optional<FtpReply> reply_;
    bool reported_ = false;
};

struct Connection {
    CliPrompts prompts;
    FtpSession session;

    Connection(CliContext& c, const ExchangeSettings& settings)
        : prompts(c.err),
          session(makeCurlClient(), prompts)
    {
        prompts.subject.server = settings.host + ":" + std::to_string(settings.port);
        session.configure(settings);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    ~Connection() { session.CloseSession(); }

    bool connect()
    {
        session.OpenSession();
        session.Connect();
        return session.active();
    }
    void at(std::string folder, std::string file)
    {
        prompts.subject.folder = std::move(folder);
        prompts.subject.file = std::move(file);
    }
    // A step that did not come through: said already when the session reported it.
    int failed(CliContext& c, const Error& error)
    {
        if (prompts.reported()) return kExitFailed;
        return c.report(error);
    }
};

Result<ExchangeSettings> settingsFor(CliContext& c)
{
    auto settings = readExchangeSettings(c.folder);
    if (!settings) return settings;
    if (auto server = c.invocation.value("--server")) {
        // The address was checked with the command line.
        if (auto given = settingsFromAddress(*server, *settings)) return *given;
    }
    return settings;
}

std::string categoryNamed(const std::string& folder)
{
    return "category " + text::quotedForMessage(folder);
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
    // Why the recipe was left out.
    Error whyLeftOut() const
    {
        if (refusal) return *refusal;
        return Error{ErrorCode::Refused, "The cookbook already holds a recipe named " +
                                             text::quotedForMessage(taken) +
                                             ". Give it another name with --name."};
    }
    std::string taken;
    std::optional<Error> refusal;

private:
    bool takeProposed_;
};

}  // namespace

bool isServerAddress(std::string_view value)
{
    return settingsFromAddress(value).has_value();
}

int exchangeCategoriesCommand(CliContext& c)
{
    auto settings = settingsFor(c);
    if (!settings) return c.report(settings.error());
    Connection connection(c, *settings);
    if (!connection.connect()) return connection.failed(c, Error{ErrorCode::Io, "No connection."});
    connection.at("exchange folder", "category list");
    auto list = fetchCategories(connection.session);
    if (!list) return connection.failed(c, list.error());
    for (const Category& category : list->categories) {
        c.out.line((category.kind == CategoryKind::Child ? "  " : "") + category.name + "\t" +
                   category.folder);
    }
    if (!list->message.empty()) {
        c.out.write("\n");
        for (auto line : text::splitLineViews(list->message)) c.out.line(line);
    }
    if (!list->complete) {
        return c.refuse("The category list stops early: " + list->problem + ".");
    }
    return kExitOk;
}

int exchangeRecipesCommand(CliContext& c)
{
    auto folder = c.toCp(c.args()[0]);
    if (!folder) return c.report(folder.error());
    auto settings = settingsFor(c);
    if (!settings) return c.report(settings.error());
    Connection connection(c, *settings);
    if (!connection.connect()) return connection.failed(c, Error{ErrorCode::Io, "No connection."});
    connection.at(categoryNamed(*folder), "recipe list of the " + categoryNamed(*folder));
    auto index = fetchRecipeIndex(connection.session, *folder);
    if (!index) return connection.failed(c, index.error());
    // The stem last: it is what "exchange download" takes.
    for (const IndexedRecipe& recipe : index->recipes) {
        c.out.line(recipe.name + "\t" + recipe.dateTime + "\t" + recipe.stem);
    }
    if (!index->complete) return c.refuse("The recipe list of this category stops early.");
    return kExitOk;
}

int exchangeDownloadCommand(CliContext& c)
{
    auto folder = c.toCp(c.args()[0]);
    if (!folder) return c.report(folder.error());
    auto stem = c.toCp(c.args()[1]);
    if (!stem) return c.report(stem.error());
    auto title = c.toCp(*c.invocation.value("--to"));
    if (!title) return c.report(title.error());
    auto newName = c.toCp(c.invocation.value("--name").value_or(""));
    if (!newName) return c.report(newName.error());
    // The cookbook first: a title that is not there needs no transfer to say so.
    auto book = store::CookbookList(c.folder).fileOf(*title);
    if (!book) return c.report(book.error());
    auto settings = settingsFor(c);
    if (!settings) return c.report(settings.error());
    Connection connection(c, *settings);
    if (!connection.connect()) return connection.failed(c, Error{ErrorCode::Io, "No connection."});
    connection.at(categoryNamed(*folder),
                  "recipe " + text::quotedForMessage(*stem) + " in " + categoryNamed(*folder));
    auto content = fetchExchangeFile(connection.session, *folder, *stem);
    if (!content) return connection.failed(c, content.error());
    CliNamer namer(newName->empty());
    auto added = addExchangeRecipe(c.folder, *book, *content, namer, *newName);
    if (!added) return c.report(added.error());
    if (!added->added) return c.report(namer.whyLeftOut());
    if (newName->empty() && added->name != added->ownName) {
        c.out.utf8Line("The cookbook already holds a recipe named " +
                   text::quotedForMessage(added->ownName) + ", so this one was added as " +
                   text::quotedForMessage(added->name) + ".");
    }
    c.out.write("Download successful!\n");
    return kExitOk;
}

int exchangeUploadCommand(CliContext& c)
{
    auto name = c.toCp(c.args()[0]);
    if (!name) return c.report(name.error());
    auto book = c.existingBook();
    if (!book) return c.report(book.error());
    // The recipe first: one that is not there needs no connection to say so.
    auto file = WriteExchangeFile(c.folder, *book, *name, localNow());
    if (!file) return c.report(file.error());
    auto settings = settingsFor(c);
    if (!settings) return c.report(settings.error());
    Connection connection(c, *settings);
    if (!connection.connect()) return connection.failed(c, Error{ErrorCode::Io, "No connection."});
    connection.at("upload folder",
                  "recipe " + text::quotedForMessage(*name) + " (" + file->name + ")");
    if (!connection.session.ChangeFolder(std::string(kUploadFolder))) return kExitFailed;
    if (!connection.session.PutFile(file->content, file->name)) return kExitFailed;
    c.out.line("Sent as " + file->name + ".");
    c.out.write("Thank you! Your recipe will be online within 24 hours.\n");
    return kExitOk;
}

}  // namespace culvora::cli
