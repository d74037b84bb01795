// culvora-cli: lists, shows, adds, deletes and moves recipes without a display. This file holds
// the start (parse, then resolve the data folder, then run), the output and the commands on
// the records themselves.

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <new>

#include "cli/commands.h"
#include "core/app/settings.h"
#include "core/store/cookbook.h"
#include "core/store/bin.h"
#include "core/store/cookbook_list.h"
#include "core/text/text.h"

namespace culvora::cli {

namespace {

bool controlByte(unsigned char b)
{
    return b < 0x20 || b == 0x7F || b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
}

void appendHexEscape(std::string& out, unsigned code)
{
    char escaped[8];
    std::snprintf(escaped, sizeof escaped, "\\x%02X", code);
    out += escaped;
}

// A Windows-1252 text as printable UTF-8, added to `out`: the same as printable(toUtf8(text)),
// without the two strings in between. The five bytes the code page leaves undefined become
// C1 controls in UTF-8, and are shown as \xNN like the other controls.
void appendPrintable(std::string& out, std::string_view cp1252)
{
    auto plain = [](unsigned char b) { return (b >= 0x20 && b < 0x7F) || b == '\t'; };
    std::size_t i = 0;
    while (i < cp1252.size()) {
        std::size_t run = i;
        while (run < cp1252.size() && plain(static_cast<unsigned char>(cp1252[run]))) ++run;
        out.append(cp1252.data() + i, run - i);
        if (run == cp1252.size()) break;
        const auto b = static_cast<unsigned char>(cp1252[run]);
        if (controlByte(b)) {
            appendHexEscape(out, b);
        } else {
            text::appendUtf8(out, cp1252.substr(run, 1));
        }
        i = run + 1;
    }
}

}  // namespace

// --- Output ---------------------------------------------------------------------------------

void Output::line(std::string_view cp1252)
{
    appendPrintable(buffer_, cp1252);
    buffer_ += '\n';
    maybeFlush();
}

void Output::utf8Line(std::string_view utf8)
{
    buffer_ += printable(utf8);
    buffer_ += '\n';
    maybeFlush();
}

void Output::flush()
{
    std::size_t done = 0;
    while (!failed_ && done < buffer_.size()) {
        const ssize_t n = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            failed_ = true;
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    buffer_.clear();
}

// --- JSON -----------------------------------------------------------------------------------

namespace {

void appendJsonEscape(std::string& out, unsigned code)
{
    switch (code) {
    case '"': out += "\\\""; return;
    case '\\': out += "\\\\"; return;
    case '\n': out += "\\n"; return;
    case '\r': out += "\\r"; return;
    case '\t': out += "\\t"; return;
    default: break;
    }
    char escaped[8];
    std::snprintf(escaped, sizeof escaped, "\\u%04X", code);
    out += escaped;
}

// A Windows-1252 text as the inside of a JSON string.
void appendJsonCp1252(std::string& out, std::string_view cp1252)
{
    auto plain = [](unsigned char b) { return b >= 0x20 && b < 0x7F && b != '"' && b != '\\'; };
    std::size_t i = 0;
    while (i < cp1252.size()) {
        std::size_t run = i;
        while (run < cp1252.size() && plain(static_cast<unsigned char>(cp1252[run]))) ++run;
        out.append(cp1252.data() + i, run - i);
        if (run == cp1252.size()) break;
        const auto b = static_cast<unsigned char>(cp1252[run]);
        if (controlByte(b) || b == '"' || b == '\\') {
            appendJsonEscape(out, b);
        } else {
            text::appendUtf8(out, cp1252.substr(run, 1));
        }
        i = run + 1;
    }
}

// A UTF-8 text as the inside of a JSON string: its controls escaped, C1 controls included.
void appendJsonUtf8(std::string& out, std::string_view utf8)
{
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        const bool c1 = b == 0xC2 && i + 1 < utf8.size() &&
                        static_cast<unsigned char>(utf8[i + 1]) >= 0x80 &&
                        static_cast<unsigned char>(utf8[i + 1]) <= 0x9F;
        if (b < 0x20 || b == 0x7F || b == '"' || b == '\\') {
            appendJsonEscape(out, b);
        } else if (c1) {
            appendJsonEscape(out, static_cast<unsigned char>(utf8[++i]));
        } else {
            out += utf8[i];
        }
    }
}

}  // namespace

Json::~Json()
{
    out_.buffer() += '\n';
    out_.maybeFlush();
}

void Json::separate()
{
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (first_.empty()) return;
    if (!first_.back()) out_.buffer() += ',';
    first_.back() = false;
}

Json& Json::open(char bracket)
{
    separate();
    out_.buffer() += bracket;
    first_.push_back(true);
    return *this;
}

Json& Json::close(char bracket)
{
    out_.buffer() += bracket;
    first_.pop_back();
    out_.maybeFlush();
    return *this;
}

Json& Json::beginObject()
{
    return open('{');
}

Json& Json::endObject()
{
    return close('}');
}

Json& Json::beginArray()
{
    return open('[');
}

Json& Json::endArray()
{
    return close(']');
}

Json& Json::key(std::string_view ascii)
{
    separate();
    std::string& out = out_.buffer();
    out += '"';
    appendJsonUtf8(out, ascii);
    out += "\":";
    afterKey_ = true;
    return *this;
}

Json& Json::string(std::string_view cp1252)
{
    separate();
    std::string& out = out_.buffer();
    out += '"';
    appendJsonCp1252(out, cp1252);
    out += '"';
    out_.maybeFlush();
    return *this;
}

Json& Json::number(std::int64_t value)
{
    separate();
    out_.buffer() += std::to_string(value);
    return *this;
}

Json& Json::number(double value)
{
    if (!std::isfinite(value)) return null();
    separate();
    char digits[32];
    const auto [end, error] = std::to_chars(digits, digits + sizeof digits, value);
    out_.buffer().append(digits, error == std::errc() ? static_cast<std::size_t>(end - digits) : 0);
    return *this;
}

Json& Json::boolean(bool value)
{
    separate();
    out_.buffer() += value ? "true" : "false";
    return *this;
}

Json& Json::null()
{
    separate();
    out_.buffer() += "null";
    return *this;
}

Json& Json::lines(std::string_view cp1252)
{
    beginArray();
    text::LineReader reader(cp1252);
    while (auto line = reader.next()) string(*line);
    return endArray();
}

Json& Json::strings(std::span<const std::string> cp1252)
{
    beginArray();
    for (const auto& item : cp1252) string(item);
    return endArray();
}

// --- Texts ------------------------------------------------------------------------------------

std::string printable(std::string_view utf8)
{
    // A control character in a hand-edited file must not reach the terminal as an escape
    // sequence: it is shown as \xNN. Tabs stay.
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        const bool c1 = b == 0xC2 && i + 1 < utf8.size() &&
                        static_cast<unsigned char>(utf8[i + 1]) >= 0x80 &&
                        static_cast<unsigned char>(utf8[i + 1]) <= 0x9F;
        if ((b < 0x20 && b != '\t') || b == 0x7F || c1) {
            appendHexEscape(out, c1 ? static_cast<unsigned char>(utf8[++i]) : b);
        } else {
            out += utf8[i];
        }
    }
    return out;
}

std::string quotedArg(std::string_view utf8)
{
    // Cut by characters, not bytes: a cut never splits a letter.
    std::size_t chars = 0;
    std::size_t end = 0;
    while (end < utf8.size() && chars < text::kMessageNameChars) {
        ++end;
        while (end < utf8.size() && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80) ++end;
        ++chars;
    }
    std::string shown = printable(utf8.substr(0, end));
    if (end < utf8.size()) shown += "\u2026";
    return "\"" + shown + "\"";
}

// --- The context ------------------------------------------------------------------------------

CliContext::CliContext(ProgramFolder programFolder, std::string book, Invocation parsed,
                       const CommandSpec& spec, Output& output, Output& errors)
    : folder(std::move(programFolder)),
      bookOverride(std::move(book)),
      invocation(std::move(parsed)),
      command(spec),
      out(output),
      err(errors)
{
}

std::string CliContext::currentBook() const
{
    if (!bookOverride.empty()) return bookOverride;
    return app::startCookbook(folder);
}

Result<std::string> CliContext::existingBook() const
{
    std::string book = currentBook();
    if (auto usable = app::checkCookbookFile(folder, book); !usable) {
        return std::unexpected(usable.error());
    }
    return book;
}

int CliContext::report(const Error& error) const
{
    // A message may quote a line of a hand-edited file: each of its lines is made printable.
    for (auto line : text::splitLineViews(error.message)) {
        err.write(std::string(kProgram) + ": " + printable(line) + "\n");
    }
    return kExitFailed;
}

Result<std::string> CliContext::toCp(std::string_view utf8) const
{
    return text::fromUtf8(utf8);
}

Result<std::string> CliContext::readInput() const
{
    std::string input;
    char piece[64 * 1024];
    for (;;) {
        const ssize_t n = ::read(0, piece, sizeof piece);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return culvora::fail(ErrorCode::Io, "Standard input could not be read.");
        if (n == 0) break;
        input.append(piece, static_cast<std::size_t>(n));
        if (input.size() > kMaxFileBytes) {
            return culvora::fail(ErrorCode::Refused, "Standard input is too large.");
        }
    }
    return input;
}

int CliContext::writeOutput(const std::string& target, std::string_view content) const
{
    if (target == "-") {
        out.write(content);
        return kExitOk;
    }
    if (auto written = writeOutputFile(std::filesystem::path(target), content); !written) {
        return report(written.error());
    }
    return kExitOk;
}

// --- Commands on the records ----------------------------------------------------------------

int listCommand(CliContext& c)
{
    auto book = c.existingBook();
    if (!book) return c.report(book.error());
    if (c.json()) {
        // Whole or not at all: a document cut short by a failed read would not parse.
        auto names = store::readNames(c.folder, *book);
        if (!names) return c.report(names.error());
        Json json(c.out);
        json.beginObject().key("cookbook").string(*book).key("recipes").strings(*names);
        json.endObject();
        return kExitOk;
    }
    // The names go out as they are read, so a cookbook of millions of names is never held.
    auto walked =
        store::visitNames(c.folder, *book, [&](std::string_view name) { c.out.line(name); });
    return walked ? kExitOk : c.report(walked.error());
}

int indexCommand(CliContext& c)
{
    auto book = c.existingBook();
    if (!book) return c.report(book.error());
    auto names = store::readNames(c.folder, *book);
    if (!names) return c.report(names.error());
    const auto index = store::buildRecipeIndex(std::move(*names));
    if (c.json()) {
        Json json(c.out);
        json.beginObject()
            .key("cookbook")
            .string(*book)
            .key("count")
            .number(static_cast<std::int64_t>(index.count));
        json.key("entries").beginArray();
        for (const auto& entry : index.entries) {
            json.beginObject().key("text").string(entry.text).key("heading").boolean(entry.heading);
            json.endObject();
        }
        json.endArray().endObject();
        return kExitOk;
    }
    for (const auto& entry : index.entries) c.out.line(entry.text);
    c.out.line(index.countText());
    return kExitOk;
}

int showCommand(CliContext& c)
{
    auto name = c.toCp(c.args()[0]);
    if (!name) return c.report(name.error());
    auto book = c.existingBook();
    if (!book) return c.report(book.error());
    const store::Cookbook cookbook(c.folder, *book);
    if (c.json()) {
        auto record = cookbook.read(*name);
        if (!record) return c.report(record.error());
        Json json(c.out);
        json.beginObject().key("name").string(record->name);
        json.key("servings").string(record->servings);
        json.key("cookingTime").string(record->cookingTime);
        json.key("ingredients").lines(record->ingredients);
        json.key("instructions").lines(record->instructions);
        json.key("type").string(record->type);
        json.endObject();
        return kExitOk;
    }
    auto lines = cookbook.lines(*name);
    if (!lines) return c.report(lines.error());
    c.out.line(store::kTagName);
    // Line by line: a table of the lines would cost many times a recipe of millions of them.
    text::LineReader reader(*lines);
    while (auto line = reader.next()) c.out.line(*line);
    return kExitOk;
}

int addCommand(CliContext& c)
{
    auto input = c.readInput();
    if (!input) return c.report(input.error());
    auto content = c.toCp(*input);
    if (!content) return c.report(content.error());
    auto names = store::listNames(*content);
    if (names.size() != 1) {
        return c.refuse("Standard input must hold exactly one record that starts with a [NAMN] "
                        "line and its name line.");
    }
    const auto& name = names.front();
    if (name.empty()) return c.refuse("The recipe has no name.");
    auto book = c.existingBook();
    if (!book) return c.report(book.error());
    store::Cookbook cookbook(c.folder, *book);
    auto existing = cookbook.names();
    if (!existing) return c.report(existing.error());
    if (std::find(existing->begin(), existing->end(), name) != existing->end()) {
        return c.refuse("A recipe named " + text::quotedForMessage(name) +
                        " is in the cookbook already.");
    }
    auto lines = store::recordLines(*content, name);
    auto added = cookbook.appendLines(*lines);
    if (!added) return c.report(added.error());
    return kExitOk;
}

int deleteCommand(CliContext& c)
{
    auto name = c.toCp(c.args()[0]);
    if (!name) return c.report(name.error());
    auto book = c.existingBook();
    if (!book) return c.report(book.error());
    auto removed =
        store::deleteRecipe(c.folder, *book, store::RecordKey{*name}, exchange::localNow());
    if (!removed) return c.report(removed.error());
    return kExitOk;
}

int moveCommand(CliContext& c)
{
    auto name = c.toCp(c.args()[0]);
    if (!name) return c.report(name.error());
    auto title = c.toCp(c.args()[1]);
    if (!title) return c.report(title.error());
    auto book = c.existingBook();
    if (!book) return c.report(book.error());
    auto moved = store::CookbookList(c.folder).moveRecipe(*book, *title, *name);
    if (!moved) return c.report(moved.error());
    return kExitOk;
}

int helpCommand(CliContext& c)
{
    std::string topic;
    for (const auto& word : c.args()) topic += (topic.empty() ? "" : " ") + word;
    if (topic.empty()) {
        c.out.write(programHelp());
    } else {
        c.out.write(commandHelp(commandsNamed(topic)));
    }
    return kExitOk;
}

}  // namespace culvora::cli

namespace {

using namespace culvora;
using namespace culvora::cli;

int usageError(Output& err, const ParsedLine& line)
{
    std::string text = std::string(kProgram) + ": " + printable(line.problem) + "\n";
    if (line.commands.empty()) {
        text += "usage: " + std::string(kProgram) +
                " [--data-dir DIR] [--book FILE] COMMAND [ARGUMENTS]\n"
                "\"" +
                std::string(kProgram) + " --help\" lists the commands.\n";
    } else {
        for (const CommandSpec* command : line.commands) text += usageLine(*command) + "\n";
    }
    err.write(text);
    return kExitUsage;
}

// The data folder a command works in: resolved, checked and seeded only now that the command
// line is known to be right.
Result<ProgramFolder> dataFolderFor(const ParsedLine& line)
{
    auto folder = app::dataFolder(line.dataDir.value_or(""));
    if (!folder) return std::unexpected(folder.error());
    // A folder named on the command line (or in CULVORA_DATA_DIR) must be there: a mistyped
    // name would otherwise look like an empty cookbook. The usual folder is made on first use,
    // as the program makes it.
    const char* env = std::getenv("CULVORA_DATA_DIR");
    const bool named = line.dataDir || (env && *env);
    std::error_code ignored;
    if (named && !std::filesystem::is_directory(*folder, ignored)) {
        return culvora::fail(ErrorCode::NotFound,
                             "The data folder " + quotedArg(folder->string()) + " does not exist.");
    }
    const auto delivered = app::deliveredData(app::executableFolder(), CULVORA_DATA_SOURCE);
    if (auto seeded = app::seedDataFolder(delivered, *folder); !seeded) {
        return std::unexpected(seeded.error());
    }
    return ProgramFolder(*folder);
}

int run(const ParsedLine& line, Output& out, Output& err)
{
    const CommandSpec& command = *line.command;
    std::string book;
    if (line.book) {
        auto cp = text::fromUtf8(*line.book);
        if (!cp) {
            err.write(std::string(kProgram) + ": " + printable(cp.error().message) + "\n");
            return kExitFailed;
        }
        book = std::move(*cp);
    }
    ProgramFolder folder;
    if (command.needs == Needs::DataFolder) {
        auto resolved = dataFolderFor(line);
        if (!resolved) {
            err.write(std::string(kProgram) + ": " + printable(resolved.error().message) + "\n");
            return kExitFailed;
        }
        folder = std::move(*resolved);
    }
    CliContext context(std::move(folder), std::move(book), line.invocation, command, out, err);
    return command.run(context);
}

}  // namespace

int main(int argc, char** argv)
{
    Output out(STDOUT_FILENO);
    Output err(STDERR_FILENO, true);
    const std::vector<std::string> args(argv + 1, argv + argc);
    const ParsedLine line = parseCommandLine(args);
    int code = kExitOk;
    switch (line.action) {
    case ParsedLine::Action::Version: out.write(versionText() + "\n"); break;
    case ParsedLine::Action::Man: out.write(manPage()); break;
    case ParsedLine::Action::Help:
        out.write(line.commands.empty() ? programHelp() : commandHelp(line.commands));
        break;
    case ParsedLine::Action::Usage: code = usageError(err, line); break;
    case ParsedLine::Action::Run:
        try {
            code = run(line, out, err);
        } catch (const std::bad_alloc&) {
            // A file too large for the memory there is: said plainly, not an abort. Every data
            // file is written to a temporary and renamed over, so none is left half written.
            out.flush();
            err.write(std::string(kProgram) +
                      ": there is not enough memory to do this; no file was left half written.\n");
            code = kExitFailed;
        }
        break;
    }
    out.flush();
    if (out.failed() && code == kExitOk) {
        err.write(std::string(kProgram) + ": the output could not be written.\n");
        code = kExitFailed;
    }
    return code;
}
