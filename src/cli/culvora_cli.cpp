// culvora-cli: lists, shows, adds, deletes and moves recipes without a display.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <sstream>

#include "cli/cli.h"
#include "core/app/settings.h"
#include "core/store/cookbook.h"
#include "core/store/cookbook_list.h"
#include "core/text/text.h"

namespace culvora::cli {

namespace {

std::vector<const CliCommand*>& registry()
{
    static std::vector<const CliCommand*> commands;
    return commands;
}

}  // namespace

CliCommand::CliCommand(std::string_view commandName, std::string_view usage, CommandFn runFn)
    : name(commandName),
      usageText(usage),
      run(runFn)
{
    registry().push_back(this);
}

const std::vector<const CliCommand*>& commands()
{
    return registry();
}

std::string CliContext::currentBook() const
{
    if (!bookOverride.empty()) return bookOverride;
    return app::startCookbook(folder);
}

int CliContext::report(const Error& error) const
{
    err << "culvora-cli: " << error.message << "\n";
    return error.code == ErrorCode::Invalid ? kExitUsage : kExitFailed;
}

int CliContext::usage(std::string_view text) const
{
    err << "usage: culvora-cli [--data-dir DIR] [--book FILE] " << text << "\n";
    return kExitUsage;
}

Result<std::string> CliContext::toCp(std::string_view utf8) const
{
    return text::fromUtf8(utf8);
}

namespace {

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
        const bool control =
            b < 0x20 || b == 0x7F || b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
        if (control) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned>(b));
            out += escaped;
        } else {
            text::appendUtf8(out, cp1252.substr(run, 1));
        }
        i = run + 1;
    }
}

// Lines for the output gathered in one buffer and written in large pieces, so that a list of
// 200,000 names costs no string and no write of its own per line.
class LineBuffer {
public:
    explicit LineBuffer(std::ostream& out) : out_(out) { text_.reserve(kPiece + 1024); }
    LineBuffer(const LineBuffer&) = delete;
    LineBuffer& operator=(const LineBuffer&) = delete;
    ~LineBuffer() { flush(); }

    void line(std::string_view cp1252)
    {
        appendPrintable(text_, cp1252);
        text_ += '\n';
        if (text_.size() >= kPiece) flush();
    }
    void flush()
    {
        out_.write(text_.data(), static_cast<std::streamsize>(text_.size()));
        text_.clear();
    }

private:
    static constexpr std::size_t kPiece = 64 * 1024;
    std::ostream& out_;
    std::string text_;
};

}  // namespace

void CliContext::line(std::string_view cp1252) const
{
    std::string shown;
    shown.reserve(cp1252.size() + 1);
    appendPrintable(shown, cp1252);
    shown += '\n';
    out.write(shown.data(), static_cast<std::streamsize>(shown.size()));
}

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
            const unsigned code = c1 ? static_cast<unsigned char>(utf8[++i]) : b;
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", code);
            out += escaped;
        } else {
            out += utf8[i];
        }
    }
    return out;
}

namespace {

int listCommand(CliContext& c, std::span<const std::string> args)
{
    if (!args.empty()) return c.usage("list");
    auto names = store::readNames(c.folder, c.currentBook());
    if (!names) return c.report(names.error());
    LineBuffer out(c.out);
    for (const auto& name : *names) out.line(name);
    return kExitOk;
}

int indexCommand(CliContext& c, std::span<const std::string> args)
{
    if (!args.empty()) return c.usage("index");
    auto names = store::readNames(c.folder, c.currentBook());
    if (!names) return c.report(names.error());
    const auto index = store::buildRecipeIndex(std::move(*names));
    LineBuffer out(c.out);
    for (const auto& entry : index.entries) out.line(entry.text);
    out.line(index.countText());
    return kExitOk;
}

int showCommand(CliContext& c, std::span<const std::string> args)
{
    if (args.size() != 1) return c.usage("show NAME");
    auto name = c.toCp(args[0]);
    if (!name) return c.report(name.error());
    auto lines = store::Cookbook(c.folder, c.currentBook()).lines(*name);
    if (!lines) return c.report(lines.error());
    c.line(store::kTagName);
    for (auto line : text::splitLineViews(*lines)) c.line(line);
    return kExitOk;
}

int addCommand(CliContext& c, std::span<const std::string> args)
{
    if (!args.empty()) return c.usage("add  (a record on standard input)");
    std::string input((std::istreambuf_iterator<char>(c.in)), std::istreambuf_iterator<char>());
    auto content = c.toCp(input);
    if (!content) return c.report(content.error());
    auto names = store::listNames(*content);
    if (names.size() != 1) {
        c.err << "culvora-cli: standard input must hold exactly one record that starts with a "
                 "[NAMN] line and its name line.\n";
        return kExitUsage;
    }
    const auto& name = names.front();
    if (name.empty()) {
        c.err << "culvora-cli: the recipe has no name.\n";
        return kExitUsage;
    }
    store::Cookbook book(c.folder, c.currentBook());
    auto existing = book.names();
    if (!existing) return c.report(existing.error());
    if (std::find(existing->begin(), existing->end(), name) != existing->end()) {
        c.err << "culvora-cli: a recipe named \"" << text::toUtf8(name)
              << "\" is in the cookbook already.\n";
        return kExitFailed;
    }
    auto lines = store::recordLines(*content, name);
    auto added = book.appendLines(*lines);
    if (!added) return c.report(added.error());
    return kExitOk;
}

int deleteCommand(CliContext& c, std::span<const std::string> args)
{
    if (args.size() != 1) return c.usage("delete NAME");
    auto name = c.toCp(args[0]);
    if (!name) return c.report(name.error());
    auto removed = store::Cookbook(c.folder, c.currentBook()).remove(*name);
    if (!removed) return c.report(removed.error());
    return kExitOk;
}

int moveCommand(CliContext& c, std::span<const std::string> args)
{
    if (args.size() != 2) return c.usage("move NAME TITLE");
    auto name = c.toCp(args[0]);
    if (!name) return c.report(name.error());
    auto title = c.toCp(args[1]);
    if (!title) return c.report(title.error());
    auto moved = store::CookbookList(c.folder).moveRecipe(c.currentBook(), *title, *name);
    if (!moved) return c.report(moved.error());
    return kExitOk;
}

const CliCommand kList{"list", "list", listCommand};
const CliCommand kIndex{"index", "index", indexCommand};
const CliCommand kShow{"show", "show NAME", showCommand};
const CliCommand kAdd{"add", "add  (one record on standard input)", addCommand};
const CliCommand kDelete{"delete", "delete NAME", deleteCommand};
const CliCommand kMove{"move", "move NAME TITLE", moveCommand};

void printUsage(std::ostream& out)
{
    out << "usage: culvora-cli [--data-dir DIR] [--book FILE] COMMAND [ARGS]\ncommands:\n";
    for (const auto* command : commands()) out << "  " << command->usageText << "\n";
}

}  // namespace

}  // namespace culvora::cli

int main(int argc, char** argv)
{
    using namespace culvora;
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string dataDir;
    std::string book;
    std::size_t i = 0;
    for (; i < args.size(); ++i) {
        if ((args[i] == "--data-dir" || args[i] == "--book") && i + 1 < args.size()) {
            (args[i] == "--data-dir" ? dataDir : book) = args[i + 1];
            ++i;
        } else if (args[i] == "--help" || args[i] == "-h") {
            cli::printUsage(std::cout);
            return cli::kExitOk;
        } else {
            break;
        }
    }
    if (i >= args.size()) {
        cli::printUsage(std::cerr);
        return cli::kExitUsage;
    }
    auto bookCp = text::fromUtf8(book);
    if (!bookCp) {
        std::cerr << "culvora-cli: " << bookCp.error().message << "\n";
        return cli::kExitUsage;
    }
    const auto folder = app::dataFolder(dataDir);
    // The exchange server's operator commands work on the server's folder, not on a cook's
    // data folder: they neither need one nor make one.
    const bool operatorCommand = args[i] == "exchange-init" || args[i] == "exchange-publish";
    // A folder named on the command line (or in CULVORA_DATA_DIR) must be there: a mistyped
    // name would otherwise look like an empty cookbook. The usual folder is made on first use,
    // as the program makes it.
    const bool named = !dataDir.empty() || std::getenv("CULVORA_DATA_DIR");
    std::error_code ignored;
    if (!operatorCommand && named && !std::filesystem::is_directory(folder, ignored)) {
        std::cerr << "culvora-cli: the data folder \"" << folder.string() << "\" does not exist.\n";
        return cli::kExitFailed;
    }
    const auto delivered = app::deliveredData(app::executableFolder(), CULVORA_DATA_SOURCE);
    if (auto seeded = operatorCommand ? Result<int>{0} : app::seedDataFolder(delivered, folder);
        !seeded) {
        std::cerr << "culvora-cli: " << seeded.error().message << "\n";
        return cli::kExitFailed;
    }
    cli::CliContext context{ProgramFolder(folder), *bookCp, std::cin, std::cout, std::cerr};
    const std::string& name = args[i];
    for (const auto* command : cli::commands()) {
        if (command->name == name) {
            return command->run(context, std::span<const std::string>(args).subspan(i + 1));
        }
    }
    std::cerr << "culvora-cli: unknown command \"" << name << "\"\n";
    cli::printUsage(std::cerr);
    return cli::kExitUsage;
}
