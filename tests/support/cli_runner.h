#pragma once

// Runs the culvora-cli binary (path in CULVORA_CLI) with arguments and standard input.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/wait.h>

#include "support/temp_dir.h"

namespace culvora::testing {

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline std::string shellQuote(const std::string& s)
{
    std::string quoted = "'";
    for (char c : s) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

// `args` come after "--data-dir DIR". Output is captured through files in the data folder's
// parent so the data folder itself stays as the command left it.
inline CliRun runCli(const std::filesystem::path& data, const std::vector<std::string>& args,
                     const std::string& input = {})
{
    const char* cli = std::getenv("CULVORA_CLI");
    TempDir scratch;
    writeBytes(scratch.file("in"), input);
    std::string command =
        shellQuote(cli ? cli : "culvora-cli") + " --data-dir " + shellQuote(data.string());
    for (const auto& arg : args) command += " " + shellQuote(arg);
    command += " <" + shellQuote(scratch.file("in").string()) + " >" +
               shellQuote(scratch.file("out").string()) + " 2>" +
               shellQuote(scratch.file("err").string());
    int status = std::system(command.c_str());
    CliRun run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = readBytes(scratch.file("out"));
    run.err = readBytes(scratch.file("err"));
    return run;
}

inline CliRun runCli(const TempDir& data, const std::vector<std::string>& args,
                     const std::string& input = {})
{
    return runCli(data.path(), args, input);
}

}  // namespace culvora::testing
