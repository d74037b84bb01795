#pragma once

// culvora-cli: the cookbook from the command line, without a display. UTF-8 in and out;
// errors go to stderr with exit code 1 (not found or refused) or 2 (usage).
//
// Each file under src/cli/ registers its commands with a static CliCommand object.

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"
#include "core/files/files.h"

namespace culvora::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

struct CliContext {
    ProgramFolder folder;
    std::string bookOverride;  // --book, Windows-1252; empty when not given
    std::istream& in;
    std::ostream& out;
    std::ostream& err;

    // The cookbook the command works on: --book, else line 1 of tavendi.ini.
    std::string currentBook() const;
    // Prints a core error (UTF-8 message) on stderr and returns its exit code.
    int report(const Error& error) const;
    // Prints a UTF-8 usage line on stderr and returns kExitUsage.
    int usage(std::string_view text) const;
    // Arguments arrive as UTF-8; the data files are Windows-1252.
    Result<std::string> toCp(std::string_view utf8) const;
    // Writes one Windows-1252 line as UTF-8.
    void line(std::string_view cp1252) const;
};

using CommandFn = int (*)(CliContext& context, std::span<const std::string> args);

struct CliCommand {
    CliCommand(std::string_view name, std::string_view usage, CommandFn run);
    std::string_view name;
    std::string_view usageText;
    CommandFn run;
};

const std::vector<const CliCommand*>& commands();

// UTF-8 text with its control characters (other than tab) shown as \xNN.
std::string printable(std::string_view utf8);

}  // namespace culvora::cli
