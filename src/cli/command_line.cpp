// culvora-cli's command line: the parser over the command table, and the help, the man page
// and the usage lines made from the same table.

#include <algorithm>
#include <cstdio>

#include "cli/cli.h"

#ifndef CULVORA_VERSION
#define CULVORA_VERSION "unknown"
#endif

namespace culvora::cli {

// --- Invocation ------------------------------------------------------------------------------

bool Invocation::has(std::string_view option) const
{
    return std::ranges::any_of(options, [&](const auto& given) { return given.first == option; });
}

std::optional<std::string> Invocation::value(std::string_view option) const
{
    std::optional<std::string> last;
    for (const auto& [name, value] : options) {
        if (name == option) last = value;
    }
    return last;
}

std::vector<std::string> Invocation::values(std::string_view option) const
{
    std::vector<std::string> all;
    for (const auto& [name, value] : options) {
        if (name == option) all.push_back(value);
    }
    return all;
}

std::string_view Invocation::lastOf(std::initializer_list<std::string_view> wanted) const
{
    std::string_view last;
    for (const auto& given : options) {
        if (std::ranges::find(wanted, given.first) != wanted.end()) last = given.first;
    }
    return last;
}

namespace {

constexpr std::string_view kGlobalSynopsis = "[--data-dir DIR] [--book FILE]";

struct GlobalOption {
    std::string_view name;
    std::string_view value;
    std::string_view help;
};

constexpr GlobalOption kGlobalOptions[] = {
    {"--data-dir", "DIR",
     "the data folder; else $CULVORA_DATA_DIR, $XDG_DATA_HOME/culvora\n"
     "or ~/.local/share/culvora"},
    {"--book", "FILE", "work on this cookbook file of the data folder, not the current one"},
    {"--help, -h", "", "show this list, or with a command that command's help"},
    {"--version", "", "show the version"},
};

constexpr std::string_view kDescription =
    "Culvora's cookbooks, drinks and nutrition table without a display. Text is UTF-8 in and\n"
    "out; the data folder is the program's own, and the program may run at the same time.";

constexpr std::string_view kExitText =
    "Exit status: 0 done, 1 not found or refused, 2 a usage error (unknown command or option,\n"
    "a missing or malformed argument).";

struct GroupTitle {
    Group group;
    std::string_view title;
};

constexpr GroupTitle kGroupTitles[] = {
    {Group::Recipes, "Recipes of the current cookbook"},
    {Group::Cookbooks, "Cookbooks and recipe types"},
    {Group::Finding, "Finding recipes, and the Fridge list"},
    {Group::Nutrition, "Nutrition"},
    {Group::Menu, "The weekly menu"},
    {Group::Drinks, "Drinks"},
    {Group::Transfer, "Import, export and backup"},
    {Group::Exchange, "The recipe exchange (the server exchange.ini names, or --server)"},
    {Group::Server, "Running an exchange server (on the server's folder, not a data folder)"},
    {Group::Help, "Help"},
};

std::string_view groupTitle(Group group)
{
    for (const auto& entry : kGroupTitles) {
        if (entry.group == group) return entry.title;
    }
    return {};
}

std::string argumentText(const ArgumentSpec& argument)
{
    const std::string name(argument.name);
    switch (argument.arity) {
    case Arity::One: return name;
    case Arity::Optional: return "[" + name + "]";
    case Arity::OneOrMore: return name + "...";
    case Arity::ZeroOrMore: return "[" + name + "]...";
    }
    return name;
}

std::string optionText(const OptionSpec& option)
{
    std::string text(option.name);
    if (!option.value.empty()) text += " " + std::string(option.value);
    if (!option.required) text = "[" + text + "]";
    if (option.repeatable) text += "...";
    return text;
}

bool shown(const OptionSpec& option)
{
    return option.alias.empty();
}

const OptionSpec* findOption(const CommandSpec& command, std::string_view name)
{
    for (const auto& option : command.options) {
        if (option.name == name) return &option;
    }
    for (const auto& option : command.options) {
        if (option.alias == name) return &option;
    }
    return nullptr;
}

// The option an alias spells: the entry of the same table that carries the alias's help.
const OptionSpec& canonical(const CommandSpec& command, const OptionSpec& option)
{
    if (option.alias.empty()) return option;
    for (const auto& other : command.options) {
        if (other.name == option.alias) return other;
    }
    return option;
}

void appendIndented(std::string& out, std::string_view text, std::string_view indent)
{
    std::size_t start = 0;
    while (start <= text.size()) {
        const auto end = std::min(text.find('\n', start), text.size());
        const auto piece = text.substr(start, end - start);
        if (!piece.empty()) out.append(indent).append(piece);
        out += '\n';
        start = end + 1;
    }
}

std::string padded(std::string_view text, std::size_t width)
{
    std::string out(text);
    if (out.size() < width) out.append(width - out.size(), ' ');
    return out;
}

}  // namespace

// --- The table, read ------------------------------------------------------------------------

std::vector<const CommandSpec*> commandsNamed(std::string_view name)
{
    std::vector<const CommandSpec*> found;
    for (const auto& command : commandTable()) {
        if (command.name == name) return {&command};
    }
    const std::string family = std::string(name) + " ";
    for (const auto& command : commandTable()) {
        if (command.name.starts_with(family)) found.push_back(&command);
    }
    return found;
}

std::string synopsis(const CommandSpec& command)
{
    std::string text(command.name);
    for (const auto& argument : command.arguments) text += " " + argumentText(argument);
    for (const auto& option : command.options) {
        if (shown(option)) text += " " + optionText(option);
    }
    return text;
}

std::string usageLine(const CommandSpec& command)
{
    std::string line = "usage: " + std::string(kProgram) + " ";
    if (command.needs == Needs::DataFolder) line += std::string(kGlobalSynopsis) + " ";
    return line + synopsis(command);
}

std::string versionText()
{
    return std::string(kProgram) + " " + CULVORA_VERSION;
}

std::string programHelp()
{
    std::string out = "usage: " + std::string(kProgram) + " " + std::string(kGlobalSynopsis) +
                      " COMMAND [ARGUMENTS]\n       " + std::string(kProgram) +
                      " help [COMMAND] | COMMAND --help | --version\n\n";
    out += kDescription;
    out += "\n\nGlobal options (before the command):\n";
    for (const auto& option : kGlobalOptions) {
        std::string name(option.name);
        if (!option.value.empty()) name += " " + std::string(option.value);
        // A help of two lines goes on under the first.
        std::string help(option.help);
        for (std::size_t at = help.find('\n'); at != std::string::npos; at = help.find('\n', at)) {
            help.insert(at + 1, 18, ' ');
            at += 19;
        }
        out += "  " + padded(name, 16) + help + "\n";
    }
    std::optional<Group> group;
    for (const auto& command : commandTable()) {
        if (command.group != group) {
            group = command.group;
            out += "\n" + std::string(groupTitle(command.group)) + ":\n";
        }
        out += "  " + synopsis(command) + "\n      " + std::string(command.summary) + "\n";
    }
    out += "\n";
    out += kExitText;
    out += "\n\"help COMMAND\" or \"COMMAND --help\" tells more about a command and its options.\n";
    return out;
}

std::string commandHelp(std::span<const CommandSpec* const> commands)
{
    std::string out;
    for (const CommandSpec* command : commands) {
        if (!out.empty()) out += "\n";
        out += usageLine(*command) + "\n\n";
        appendIndented(out, command->summary, "");
        std::size_t width = 0;
        for (const auto& option : command->options) {
            if (!shown(option)) continue;
            width = std::max(width, option.name.size() + 1 + option.value.size());
        }
        if (width > 0) {
            out += "\nOptions:\n";
            for (const auto& option : command->options) {
                if (!shown(option)) continue;
                std::string name(option.name);
                if (!option.value.empty()) name += " " + std::string(option.value);
                std::string help(option.help);
                if (option.repeatable) help += " (repeatable)";
                out += "  " + padded(name, width + 2) + help + "\n";
            }
        }
        if (!command->input.empty()) {
            out += "\nStandard input:\n";
            appendIndented(out, command->input, "  ");
        }
        if (!command->details.empty()) {
            out += "\n";
            appendIndented(out, command->details, "");
        }
    }
    return out;
}

// --- The man page ---------------------------------------------------------------------------

namespace {

// Text for roff: backslashes escaped, minus signs as \- so that options can be searched for
// and copied, letters beyond ASCII as \[uXXXX] (roff reads bytes, not UTF-8), and a line
// never starts with a control character.
std::string roff(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\') {
            out += "\\e";
        } else if (c == '-') {
            out += "\\-";
        } else if (c == '\n') {
            out += ' ';
        } else if (byte >= 0xC0) {
            // The table's own texts: well-formed UTF-8.
            const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : 2;
            char32_t code = byte & (0x3F >> (length - 1));
            for (std::size_t k = 1; k < length && i + 1 < text.size(); ++k) {
                code = (code << 6) | (static_cast<unsigned char>(text[++i]) & 0x3F);
            }
            char escaped[16];
            std::snprintf(escaped, sizeof escaped, "\\[u%04X]", static_cast<unsigned>(code));
            out += escaped;
        } else {
            out += c;
        }
    }
    if (out.starts_with('.') || out.starts_with('\'')) out.insert(0, "\\&");
    return out;
}

std::string roffSynopsis(const CommandSpec& command)
{
    std::string out = "\\fB" + roff(command.name) + "\\fR";
    for (const auto& argument : command.arguments)
        out += " \\fI" + roff(argumentText(argument)) + "\\fR";
    for (const auto& option : command.options) {
        if (!shown(option)) continue;
        std::string text = "\\fB" + roff(option.name) + "\\fR";
        if (!option.value.empty()) text += " \\fI" + roff(option.value) + "\\fR";
        if (!option.required) text = "[" + text + "]";
        if (option.repeatable) text += "...";
        out += " " + text;
    }
    return out;
}

}  // namespace

std::string manPage()
{
    std::string out;
    out += ".TH CULVORA\\-CLI 1 \"\" \"" + roff(versionText()) + "\" \"User Commands\"\n";
    out += ".SH NAME\nculvora\\-cli \\- the Culvora cookbook from the command line\n";
    out += ".SH SYNOPSIS\n.B culvora\\-cli\n[\\fB\\-\\-data\\-dir\\fR \\fIDIR\\fR] "
           "[\\fB\\-\\-book\\fR \\fIFILE\\fR] \\fICOMMAND\\fR [\\fIARGUMENTS\\fR]\n.br\n"
           ".B culvora\\-cli help\n[\\fICOMMAND\\fR]\n.br\n.B culvora\\-cli\n\\fICOMMAND\\fR "
           "\\fB\\-\\-help\\fR\n.br\n.B culvora\\-cli \\-\\-version\n";
    out += ".SH DESCRIPTION\n" + roff(kDescription) + "\n";
    out += ".PP\nThe data folder is the one the program uses. A new or empty one is filled with "
           "the delivered files the program starts with; a folder named with "
           "\\fB\\-\\-data\\-dir\\fR or \\fBCULVORA_DATA_DIR\\fR must exist. The command line is "
           "read in full before the data folder is touched: a usage error, "
           "\\fB\\-\\-help\\fR and \\fB\\-\\-version\\fR change nothing on disk.\n";
    out += ".PP\nAn argument that begins with \\- is read as an option; after \\fB\\-\\-\\fR "
           "every word is an argument (a recipe called \\(lq\\-\\-help\\(rq is "
           "\\fBshow \\-\\- \\-\\-help\\fR). An option's value may follow it or be joined to "
           "it with =.\n";
    out += ".SH OPTIONS\n";
    for (const auto& option : kGlobalOptions) {
        out += ".TP\n\\fB" + roff(option.name) + "\\fR";
        if (!option.value.empty()) out += " \\fI" + roff(option.value) + "\\fR";
        out += "\n" + roff(option.help) + "\n";
    }
    out += ".SH COMMANDS\n";
    std::optional<Group> group;
    for (const auto& command : commandTable()) {
        if (command.group != group) {
            group = command.group;
            out += ".SS " + roff(groupTitle(command.group)) + "\n";
        }
        out += ".TP\n" + roffSynopsis(command) + "\n" + roff(command.summary) + "\n";
        if (!command.input.empty()) out += "Standard input: " + roff(command.input) + "\n";
        if (!command.details.empty()) out += ".IP\n" + roff(command.details) + "\n";
        bool any = false;
        for (const auto& option : command.options) {
            if (!shown(option)) continue;
            if (!any) out += ".RS\n";
            any = true;
            out += ".TP\n\\fB" + roff(option.name) + "\\fR";
            if (!option.value.empty()) out += " \\fI" + roff(option.value) + "\\fR";
            out += "\n" + roff(option.help);
            if (option.repeatable) out += " (repeatable)";
            out += "\n";
        }
        if (any) out += ".RE\n";
    }
    out += ".SH EXIT STATUS\n.TP\n0\ndone\n.TP\n1\nnot found or refused: a recipe, cookbook, "
           "word, type or glass that is not there, a data file that cannot be used, a name the "
           "program does not allow, an output file that is not a plain file, a failure of the "
           "exchange\n.TP\n2\na usage error: an unknown command or option, a missing or "
           "malformed argument or option value\n";
    out += ".SH ENVIRONMENT\n.TP\n.B CULVORA_DATA_DIR\nthe data folder, when "
           "\\fB\\-\\-data\\-dir\\fR is not given\n.TP\n.B XDG_DATA_HOME\nthe data folder is "
           "\\fI$XDG_DATA_HOME/culvora\\fR when neither of the above is given\n.TP\n.B HOME\n"
           "else the data folder is \\fI~/.local/share/culvora\\fR; without any of these there "
           "is no data folder, and a command that needs one says so\n";
    out += ".SH FILES\n.TP\n.I ~/.local/share/culvora\nthe data folder: "
           "\\fIbocker.txt\\fR (the cookbooks), \\fItavendi.ini\\fR (the current one), the "
           "cookbook files, \\fItyper.txt\\fR, \\fIsok.txt\\fR, \\fIdrinkar.txt\\fR, "
           "\\fIindex.txt\\fR, \\fIbilder.txt\\fR, \\fIexchange.ini\\fR\n";
    out += ".SH SEE ALSO\n.BR culvora (1)\n";
    return out;
}

// --- Parsing ----------------------------------------------------------------------------------

namespace {

ParsedLine usageError(std::string problem, std::vector<const CommandSpec*> commands = {})
{
    ParsedLine line;
    line.action = ParsedLine::Action::Usage;
    line.problem = std::move(problem);
    line.commands = std::move(commands);
    return line;
}

bool isOptionWord(std::string_view word)
{
    return word.size() > 1 && word.starts_with('-');
}

// The command's own words after its name: options and arguments, checked against the table.
ParsedLine parseCommand(const CommandSpec& command, std::span<const std::string> words)
{
    ParsedLine line;
    line.action = ParsedLine::Action::Run;
    line.command = &command;
    const auto usage = [&](std::string problem) {
        return usageError(std::string(command.name) + ": " + problem, {&command});
    };
    // "--help" anywhere before "--" asks for help, whatever else the line holds.
    for (const std::string& word : words) {
        if (word == "--") break;
        if (word == "--help" || word == "-h") {
            line.action = ParsedLine::Action::Help;
            line.commands = {&command};
            return line;
        }
    }
    Invocation& invocation = line.invocation;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (!optionsEnded && word == "--") {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || !isOptionWord(word)) {
            invocation.arguments.push_back(word);
            continue;
        }
        const auto equals = word.find('=');
        const std::string_view name = std::string_view(word).substr(0, equals);
        const OptionSpec* option = findOption(command, name);
        if (!option) {
            if (name == "--data-dir" || name == "--book") {
                return usage(std::string(name) + " goes before the command");
            }
            return usage("unknown option " + quotedArg(name));
        }
        const OptionSpec& spec = canonical(command, *option);
        std::string value;
        if (spec.value.empty()) {
            if (equals != std::string::npos) {
                return usage(std::string(spec.name) + " takes no value");
            }
        } else if (equals != std::string::npos) {
            value = word.substr(equals + 1);
        } else if (i + 1 < words.size()) {
            value = words[++i];
        } else {
            return usage(std::string(spec.name) + " needs a value (" + std::string(spec.value) +
                         ")");
        }
        if (spec.check && !spec.check(value)) {
            return usage(std::string(spec.name) + " takes " + std::string(spec.wants) + ", not " +
                         quotedArg(value));
        }
        invocation.options.emplace_back(spec.name, std::move(value));
    }
    for (const auto& option : command.options) {
        if (option.required && !invocation.has(option.name)) {
            return usage("missing option " + std::string(option.name) + " " +
                         std::string(option.value));
        }
    }
    // The arguments in order: a repeated one takes the rest.
    std::size_t next = 0;
    const auto& given = invocation.arguments;
    for (const auto& argument : command.arguments) {
        std::size_t take = 0;
        switch (argument.arity) {
        case Arity::One:
            if (next >= given.size()) {
                return usage("missing argument " + std::string(argument.name));
            }
            take = 1;
            break;
        case Arity::Optional: take = next < given.size() ? 1 : 0; break;
        case Arity::OneOrMore:
            if (next >= given.size()) {
                return usage("missing argument " + std::string(argument.name));
            }
            take = given.size() - next;
            break;
        case Arity::ZeroOrMore: take = given.size() - next; break;
        }
        for (std::size_t k = next; k < next + take; ++k) {
            if (argument.check && !argument.check(given[k])) {
                return usage(std::string(argument.name) + " must be " +
                             std::string(argument.wants) + ", not " + quotedArg(given[k]));
            }
        }
        next += take;
    }
    if (next < given.size()) return usage("too many arguments: " + quotedArg(given[next]));
    if (command.validate) {
        if (std::string problem = command.validate(invocation); !problem.empty()) {
            return usage(problem);
        }
    }
    return line;
}

}  // namespace

ParsedLine parseCommandLine(std::span<const std::string> args)
{
    ParsedLine globals;
    bool help = false;
    bool version = false;
    bool man = false;
    std::size_t i = 0;
    for (; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (word == "--") {
            ++i;
            break;
        }
        if (!isOptionWord(word)) break;
        const auto equals = word.find('=');
        const std::string name = word.substr(0, equals);
        if (name == "--help" || name == "-h") {
            help = true;
        } else if (name == "--version") {
            version = true;
        } else if (name == "--man") {
            // The man page, for the build to write: not an option a user needs to know of.
            man = true;
        } else if (name == "--data-dir" || name == "--book") {
            std::string value;
            if (equals != std::string::npos) {
                value = word.substr(equals + 1);
            } else if (i + 1 < args.size()) {
                value = args[++i];
            } else {
                return usageError(name + " needs a value (" + (name == "--book" ? "FILE" : "DIR") +
                                  ")");
            }
            if (value.empty()) return usageError(name + " needs a value that is not empty");
            (name == "--book" ? globals.book : globals.dataDir) = std::move(value);
        } else {
            return usageError("unknown option " + quotedArg(name));
        }
    }
    if (version) {
        globals.action = ParsedLine::Action::Version;
        return globals;
    }
    if (man) {
        globals.action = ParsedLine::Action::Man;
        return globals;
    }
    if (i >= args.size()) {
        if (help) {
            globals.action = ParsedLine::Action::Help;
            return globals;
        }
        return usageError("no command given");
    }
    const std::string& name = args[i];
    std::vector<const CommandSpec*> named = commandsNamed(name);
    if (named.empty()) {
        return usageError("unknown command " + quotedArg(name));
    }
    std::size_t wordsFrom = i + 1;
    if (named.size() > 1 || named.front()->name != name) {
        // A family ("exchange"): the next word picks the command.
        const bool asked = i + 1 < args.size() && !isOptionWord(args[i + 1]);
        const CommandSpec* picked = nullptr;
        if (asked) {
            const auto one = commandsNamed(name + " " + args[i + 1]);
            if (one.size() == 1) picked = one.front();
        }
        if (!picked) {
            const bool helpAsked =
                help || std::ranges::any_of(args.subspan(i + 1), [](const auto& w) {
                    return w == "--help" || w == "-h";
                });
            if (helpAsked && !asked) {
                globals.action = ParsedLine::Action::Help;
                globals.commands = std::move(named);
                return globals;
            }
            std::string choices;
            for (std::size_t k = 0; k < named.size(); ++k) {
                if (k > 0) choices += k + 1 == named.size() ? " or " : ", ";
                choices += named[k]->name.substr(name.size() + 1);
            }
            std::string problem = asked ? "unknown " + name + " command " + quotedArg(args[i + 1])
                                        : name + " needs a command";
            return usageError(problem + ": " + choices, std::move(named));
        }
        named = {picked};
        wordsFrom = i + 2;
    }
    const CommandSpec& command = *named.front();
    if (help) {
        globals.action = ParsedLine::Action::Help;
        globals.commands = {&command};
        return globals;
    }
    ParsedLine line = parseCommand(command, args.subspan(wordsFrom));
    line.dataDir = std::move(globals.dataDir);
    line.book = std::move(globals.book);
    return line;
}

}  // namespace culvora::cli
