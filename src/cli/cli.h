#pragma once

// culvora-cli: the cookbook from the command line, without a display. UTF-8 in and out.
//
// Every command is one entry of the command table (command_table.cpp): its name, arguments,
// options, one-line help and handler. The parser, "--help", "help COMMAND", the man page and
// the README's list all come from that table, and a command line is parsed and checked in
// full before the data folder is looked at. Exit codes: 0 done, 1 not found or refused, 2 a
// usage error (unknown command or option, a missing or malformed argument).

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/error.h"
#include "core/files/files.h"

namespace culvora::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

inline constexpr std::string_view kProgram = "culvora-cli";

// --- Output --------------------------------------------------------------------------------

// Standard output or standard error, gathered in one buffer and written in large pieces: a
// list of 200,000 names costs no stream call and no flush of its own per line. Messages
// (`immediate`) go out as they are made, so none waits behind a slow step or is lost.
class Output {
public:
    explicit Output(int fd, bool immediate = false) : fd_(fd), immediate_(immediate) {}
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;
    ~Output() { flush(); }

    // UTF-8 (or bytes, for a PDF) as they are.
    void write(std::string_view bytes)
    {
        buffer_.append(bytes);
        maybeFlush();
    }
    // One Windows-1252 line as printable UTF-8 (control characters shown as \xNN), and "\n".
    void line(std::string_view cp1252);
    // One UTF-8 line, its control characters shown as \xNN, and "\n".
    void utf8Line(std::string_view utf8);
    void flush();
    // True when a write failed (a full disk, a closed pipe).
    bool failed() const { return failed_; }

private:
    friend class Json;
    std::string& buffer() { return buffer_; }
    void maybeFlush()
    {
        if (immediate_ || buffer_.size() >= kPiece) flush();
    }
    static constexpr std::size_t kPiece = 64 * 1024;
    int fd_;
    bool immediate_;
    std::string buffer_;
    bool failed_ = false;
};

// One JSON document (UTF-8) written into an Output. Texts from the data files are
// Windows-1252 and converted on the way; control characters are escaped, never written raw.
class Json {
public:
    explicit Json(Output& out) : out_(out) {}
    Json(const Json&) = delete;
    Json& operator=(const Json&) = delete;
    // Ends the document with a line end.
    ~Json();

    Json& beginObject();
    Json& endObject();
    Json& beginArray();
    Json& endArray();
    Json& key(std::string_view ascii);
    Json& string(std::string_view cp1252);
    Json& number(std::int64_t value);
    Json& number(double value);
    Json& boolean(bool value);
    Json& null();
    // A multi-line text (lines ended by CR LF or LF, as a record's fields hold them) as an
    // array of its lines.
    Json& lines(std::string_view cp1252);
    // An array of Windows-1252 texts.
    Json& strings(std::span<const std::string> cp1252);

private:
    void separate();
    // "{" or "[" after a separator, and the matching close.
    Json& open(char bracket);
    Json& close(char bracket);
    Output& out_;
    std::vector<bool> first_;
    bool afterKey_ = false;
};

// --- The command line -----------------------------------------------------------------------

// Checks a value's form while the command line is parsed; false makes it a usage error.
using ValueCheck = bool (*)(std::string_view value);

enum class Arity { One, Optional, OneOrMore, ZeroOrMore };

struct ArgumentSpec {
    std::string_view name;  // "NAME"
    Arity arity = Arity::One;
    ValueCheck check = nullptr;
    std::string_view wants = {};  // what a good value is, for the message: "NAME=GRAMS"
};

struct OptionSpec {
    std::string_view name;        // "--type"
    std::string_view value = {};  // "TYPE"; empty for a switch
    std::string_view help = {};   // one line
    bool required = false;
    bool repeatable = false;  // may be given more than once; every value counts
    ValueCheck check = nullptr;
    std::string_view wants = {};  // "a whole number of minutes"
    // Another spelling, accepted and not shown: its values count as those of this option.
    std::string_view alias = {};
};

// A command line as parsed: the arguments in order, the options in order with their values
// (empty for a switch), under their own names (an alias is given under the option's).
struct Invocation {
    std::vector<std::string> arguments;
    std::vector<std::pair<std::string_view, std::string>> options;

    bool has(std::string_view option) const;
    // The last value given (later ones win).
    std::optional<std::string> value(std::string_view option) const;
    std::vector<std::string> values(std::string_view option) const;
    // Which of these options was given last; empty when none was.
    std::string_view lastOf(std::initializer_list<std::string_view> options) const;
};

class CliContext;
using Handler = int (*)(CliContext& context);

enum class Group {
    Recipes,
    Cookbooks,
    Finding,
    Nutrition,
    Menu,
    Drinks,
    Transfer,
    Exchange,
    Server,
    Help
};

// What a command needs before it runs: the cook's data folder (resolved, created and seeded
// as the program does it) or nothing of it.
enum class Needs { DataFolder, Nothing };

struct CommandSpec {
    std::string_view name;  // "list"; "exchange download" for a command of a family
    Group group;
    std::span<const ArgumentSpec> arguments;
    std::span<const OptionSpec> options;
    std::string_view summary;  // one line
    Handler run;
    std::string_view input = {};    // what standard input holds, when the command reads it
    std::string_view details = {};  // more, for "help COMMAND" and the man page
    Needs needs = Needs::DataFolder;
    // A check across options that the table cannot say (an error message, or empty).
    std::string (*validate)(const Invocation&) = nullptr;
};

std::span<const CommandSpec> commandTable();

// --- What a handler works with --------------------------------------------------------------

class CliContext {
public:
    CliContext(ProgramFolder folder, std::string bookOverride, Invocation invocation,
               const CommandSpec& command, Output& out, Output& err);

    ProgramFolder folder;
    std::string bookOverride;  // --book, Windows-1252; empty when not given
    Invocation invocation;
    const CommandSpec& command;
    Output& out;
    Output& err;

    const std::vector<std::string>& args() const { return invocation.arguments; }
    bool has(std::string_view option) const { return invocation.has(option); }
    bool json() const { return invocation.has("--json"); }

    // The cookbook the command works on: --book, else line 1 of tavendi.ini.
    std::string currentBook() const;
    // The same, checked: a name that is no cookbook file, or a file that is not there, is an
    // error that names it (a missing cookbook never reads as an empty one).
    Result<std::string> existingBook() const;
    // Prints a core error (UTF-8 message) on stderr and returns kExitFailed: whatever the
    // program refuses or cannot find, once the command line was right.
    int report(const Error& error) const;
    // The same for a refusal the command itself decides on.
    int refuse(std::string message) const
    {
        return report(Error{ErrorCode::Refused, std::move(message)});
    }
    // Arguments arrive as UTF-8; the data files are Windows-1252.
    Result<std::string> toCp(std::string_view utf8) const;
    // All of standard input.
    Result<std::string> readInput() const;
    // Writes the program's output to the file the user named: "-" is standard output;
    // otherwise only where nothing or a regular file stands (writeOutputFile).
    int writeOutput(const std::string& target, std::string_view content) const;
};

// --- Texts ------------------------------------------------------------------------------------

// UTF-8 text with its control characters (other than tab) shown as \xNN.
std::string printable(std::string_view utf8);
// An argument as a message quotes it (UTF-8): in double quotes, control characters shown as
// \xNN, cut with "…" past the length the core's messages cut a name at.
std::string quotedArg(std::string_view utf8);

// --- Help -------------------------------------------------------------------------------------

// "usage: culvora-cli [--data-dir DIR] [--book FILE] show NAME [--json]"
std::string usageLine(const CommandSpec& command);
std::string synopsis(const CommandSpec& command);
// The whole list ("--help"), the help of one command or of a family ("help exchange"), and
// the man page culvora-cli(1) in roff.
std::string programHelp();
std::string commandHelp(std::span<const CommandSpec* const> commands);
std::string manPage();
std::string versionText();

// The commands whose name is `name` or that belong to the family `name` ("exchange").
std::vector<const CommandSpec*> commandsNamed(std::string_view name);

// What the command line asks for, worked out without touching the disk.
struct ParsedLine {
    enum class Action { Run, Help, Version, Man, Usage };
    Action action = Action::Usage;
    std::optional<std::string> dataDir;  // --data-dir
    std::optional<std::string> book;     // --book (UTF-8)
    const CommandSpec* command = nullptr;
    Invocation invocation;
    // Help: the commands to explain (none: the whole list). Usage: the commands whose usage
    // lines follow the problem (none: the program's).
    std::vector<const CommandSpec*> commands;
    std::string problem;  // Usage: what is wrong, one sentence
};

ParsedLine parseCommandLine(std::span<const std::string> args);

}  // namespace culvora::cli
