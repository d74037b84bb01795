// culvora-cli's command line as a whole: the help of every command, the exit codes, what a
// command line that is not run leaves on disk (nothing), the man page and the README's list.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>

#include "support/cli_runner.h"

using culvora::testing::CliRun;
using culvora::testing::crlf;
using culvora::testing::readBytes;
using culvora::testing::runCli;
using culvora::testing::shellQuote;
using culvora::testing::TempDir;
using culvora::testing::writeBytes;

namespace fs = std::filesystem;

namespace {

std::string cliPath()
{
    const char* cli = std::getenv("CULVORA_CLI");
    return cli ? cli : "culvora-cli";
}

// Runs culvora-cli in `cwd` with nothing of the test's environment but the given variables.
CliRun runBare(const fs::path& cwd, const std::vector<std::string>& env,
               const std::vector<std::string>& args)
{
    TempDir scratch;
    std::string command = "cd " + shellQuote(cwd.string()) + " && env -i";
    for (const auto& assignment : env) command += " " + shellQuote(assignment);
    command += " " + shellQuote(cliPath());
    for (const auto& arg : args) command += " " + shellQuote(arg);
    command += " </dev/null >" + shellQuote(scratch.file("out").string()) + " 2>" +
               shellQuote(scratch.file("err").string());
    const int status = std::system(command.c_str());
    CliRun run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = readBytes(scratch.file("out"));
    run.err = readBytes(scratch.file("err"));
    return run;
}

// Every file below a folder with its content (links by their target); the lock file, which
// any change takes, is left out.
std::map<std::string, std::string> snapshot(const fs::path& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const std::string name = fs::relative(entry.path(), folder).string();
        if (name == "culvora.lock") continue;
        if (entry.is_symlink()) {
            files[name] = "-> " + fs::read_symlink(entry.path()).string();
        } else if (entry.is_regular_file()) {
            files[name] = readBytes(entry.path());
        } else {
            files[name] = "(folder)";
        }
    }
    return files;
}

// The commands and their synopses, as --help lists them: "  list [--json]" under a heading.
std::vector<std::pair<std::string, std::string>> listedCommands(const std::string& help)
{
    std::vector<std::pair<std::string, std::string>> commands;
    const std::regex entry("^  ([a-z][a-z-]*(?: [a-z][a-z-]*)*)( .*)?$");
    std::istringstream lines(help);
    std::string line;
    bool inCommands = false;
    while (std::getline(lines, line)) {
        if (line.starts_with("Recipes of")) inCommands = true;
        if (line.starts_with("Exit status")) inCommands = false;
        std::smatch match;
        if (inCommands && std::regex_match(line, match, entry)) {
            commands.emplace_back(match[1], line.substr(2));
        }
    }
    return commands;
}

std::string programHelp()
{
    TempDir data;
    return runCli(data, {"--help"}).out;
}

const std::string kSoup = crlf({"[NAMN]", "Soup", "[PORTIONER]", "4", "[TID]", "30", "[IND]",
                                "2 carrots", "[G\xD6RA]", "Boil.", "[TYP]", "Hot dish"});

struct Kitchen {
    Kitchen()
    {
        dir.write("tavendi.ini", crlf({"BOOK1.TXT", "0"}));
        dir.write("bocker.txt", crlf({"Standard", "BOOK1.TXT", "Baking", "BOOK2.TXT"}));
        dir.write("BOOK1.TXT", kSoup);
        dir.write("BOOK2.TXT", "");
        dir.write("typer.txt", crlf({"Desserts", "Hot dish"}));
        dir.write("sok.txt", crlf({"carrots"}));
        dir.write("index.txt", crlf({"Milk", "270", "64", "87.5", "3.4", "3.6", "4.8", "120",
                                     "0.02", "0.03", "1"}));
        dir.write("drinkar.txt",
                  crlf({"[NAMN]", "Sour", "whiskey", "[G\xD6RA]", "Shake.", "[GLAS]", "Sour"}));
        pictures.write("soup.jpg", "JPEG");
        // The first run seeds what the folder lacks; the tests compare against what follows.
        EXPECT_EQ(runCli(dir, {"list"}).exitCode, 0);
    }
    TempDir dir;
    TempDir pictures;
};

TEST(CliCommandLine, EveryCommandHasItsHelpOnStandardOutputAndWritesNothing)
{
    const std::string help = programHelp();
    const auto commands = listedCommands(help);
    ASSERT_GT(commands.size(), 40u) << help;
    TempDir empty;
    for (const auto& [name, synopsis] : commands) {
        SCOPED_TRACE(name);
        std::vector<std::string> words;
        std::istringstream split(name);
        for (std::string word; split >> word;) words.push_back(word);

        std::vector<std::string> asked = words;
        asked.push_back("--help");
        const CliRun run = runCli(empty, asked);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.err, "");
        EXPECT_TRUE(run.out.starts_with("usage: culvora-cli ")) << run.out;
        EXPECT_NE(run.out.find(synopsis + "\n"), std::string::npos) << run.out;

        std::vector<std::string> helpCommand = {"help"};
        helpCommand.insert(helpCommand.end(), words.begin(), words.end());
        EXPECT_EQ(runCli(empty, helpCommand).out, run.out);
    }
    // -h too, and --help before the command.
    EXPECT_EQ(runCli(empty, {"menu", "-h"}).out, runCli(empty, {"menu", "--help"}).out);
    EXPECT_EQ(runCli(empty, {"--help", "exchange", "upload"}).out,
              runCli(empty, {"exchange", "upload", "--help"}).out);
    // Nothing was made: not even the data folder's seed.
    EXPECT_TRUE(snapshot(empty.path()).empty());
    // A family's help shows each of its commands.
    const CliRun exchange = runCli(empty, {"exchange", "--help"});
    EXPECT_EQ(exchange.exitCode, 0);
    for (std::string_view sub :
         {"categories", "recipes FOLDER", "download FOLDER STEM", "upload"}) {
        EXPECT_NE(exchange.out.find("exchange " + std::string(sub)), std::string::npos)
            << exchange.out;
    }
}

TEST(CliCommandLine, HelpIsNeverTakenForAWordOrANameToStore)
{
    Kitchen k;
    const auto before = snapshot(k.dir.path());
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"add-word", "--help"},
             {"add-type", "--help"},
             {"show", "--help"},
             {"new-book", "--help", "X.TXT"},
             {"add"},
         }) {
        // "add" reads a record from standard input: "--help" there is data, and refused.
        const CliRun run = runCli(k.dir, args, "--help\n");
        if (args.size() == 1) {
            EXPECT_EQ(run.exitCode, 1) << run.err;
        } else {
            EXPECT_EQ(run.exitCode, 0) << args[0] << ": " << run.err;
            EXPECT_TRUE(run.out.starts_with("usage: culvora-cli")) << run.out;
        }
    }
    EXPECT_EQ(snapshot(k.dir.path()), before);
    // After "--" a word that looks like an option is a name.
    k.dir.write("BOOK2.TXT", crlf({"[NAMN]", "--help", "[PORTIONER]", "1", "[TID]", "1", "[IND]",
                                   "[G\xD6RA]", "[TYP]", "Desserts"}));
    const CliRun odd = runCli(k.dir, {"--book", "BOOK2.TXT", "view", "--", "--help"});
    EXPECT_EQ(odd.exitCode, 0) << odd.err;
    EXPECT_TRUE(odd.out.starts_with("--help\n(Serves 1)\n")) << odd.out;
    // Values may be joined to their option.
    EXPECT_EQ(runCli(k.dir, {"search", "--type=Hot dish", "--max-time=30"}).out, "Soup\n1 hits\n");
}

TEST(CliCommandLine, ExitCodesZeroDoneOneNotFoundOrRefusedTwoUsage)
{
    Kitchen k;
    // A list of the data folder that is a link: the program refuses to follow it.
    TempDir elsewhere;
    elsewhere.write("bilder.txt", crlf({"Soup", "/tmp/soup.jpg"}));
    fs::create_symlink(elsewhere.file("bilder.txt"), k.dir.file("bilder.txt"));
    const std::string picture = k.pictures.file("soup.jpg").string();
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        std::string err;  // a part of the message
        std::string input = {};
    };
    const std::vector<Case> cases = {
        // Usage: the command line itself is wrong.
        {{}, 2, "no command given"},
        {{"frobnicate"}, 2, "unknown command \"frobnicate\""},
        {{"list", "--bogus"}, 2, "list: unknown option \"--bogus\""},
        {{"-x", "list"}, 2, "unknown option \"-x\""},
        {{"show"}, 2, "show: missing argument NAME"},
        {{"show", "Soup", "Stew"}, 2, "show: too many arguments: \"Stew\""},
        {{"--book"}, 2, "--book needs a value (FILE)"},
        {{"--data-dir"}, 2, "--data-dir needs a value (DIR)"},
        {{"list", "--book", "BOOK2.TXT"}, 2, "--book goes before the command"},
        {{"search", "--type", "Hot dish"}, 2, "missing option --max-time"},
        {{"search", "--max-time", "30", "--type"}, 2, "--type needs a value (TYPE)"},
        {{"search", "--type", "Hot dish", "--max-time", "soon"}, 2, "--max-time takes"},
        {{"list", "--json=yes"}, 2, "--json takes no value"},
        {{"kcal", "Milk"}, 2, "NAME=GRAMS must be"},
        {{"kcal", "Milk=150 g"}, 2, "NAME=GRAMS must be"},
        {{"menu", "--option", "hearty"}, 2, "--option takes light, casual or special"},
        {{"exchange"}, 2, "exchange needs a command"},
        {{"exchange", "browse"}, 2, "unknown exchange command \"browse\""},
        {{"add-word", ""}, 2, "WORD must be a word that is not empty"},
        {{"help", "frobnicate"}, 2, "there is no command \"frobnicate\""},
        {{"backup", "/tmp", "--no-recipes", "--no-drinks"}, 2, "leave nothing to copy"},
        // Not found: the line was right, what it names is not there.
        {{"--book", "nope.txt", "list"}, 1, "\"nope.txt\" could not be found"},
        {{"--book", "nope.txt", "index"}, 1, "\"nope.txt\" could not be found"},
        {{"--book", "nope.txt", "search", "--type", "Hot dish", "--max-time", "30"},
         1,
         "\"nope.txt\" could not be found"},
        {{"--book", "nope.txt", "fridge", "carrots"}, 1, "\"nope.txt\" could not be found"},
        {{"--book", "nope.txt", "menu", "--option", "casual"}, 1, "could not be found"},
        {{"show", "Cocoa"}, 1, "\"Cocoa\" was not found"},
        {{"view", "Cocoa"}, 1, "\"Cocoa\" was not found"},
        {{"delete", "Cocoa"}, 1, "Cocoa"},
        {{"search", "--type", "Soups", "--max-time", "30"}, 1, "There is no recipe type \"Soups\""},
        {{"drinks", "--glass", "Mug"}, 1, "There is no glass called \"Mug\""},
        {{"fridge", "caviar"}, 1, "The word \"caviar\" is not in the Fridge list"},
        {{"kcal", "Butter=100"}, 1, "The nutrition table has no ingredient \"Butter\""},
        {{"kcal", "Milk=100", "Butter=100"}, 1, "no ingredient \"Butter\""},
        {{"nutrition", "Butter"}, 1, "Ingrediensen fanns ej"},
        {{"set-picture", "Nope", "/nonexistent.png"}, 1, "\"Nope\" was not found"},
        {{"set-picture", "Soup", "/nonexistent.png"}, 1, "\"/nonexistent.png\" could not be found"},
        {{"use", "Cooking"}, 1, "There is no cookbook called \"Cooking\""},
        {{"exchange", "download", "bread", "1", "--to", "Cooking"}, 1, "\"Cooking\""},
        // Refused: a name the program keeps for itself, a data file it will not use.
        {{"new-book", "Scratch", "recept.tmp"}, 1, "one of the program's own files"},
        {{"--book", "typer.txt", "list"}, 1, "one of the program's own files"},
        {{"delete-type", "Hot dish"}, 1, "Cannot delete the original types."},
        {{"set-picture", "Soup", picture}, 1, "bilder.txt"},
        {{"picture", "Soup"}, 1, "bilder.txt"},
        {{"add"}, 1, "[NAMN]", "no record here\n"},
        {{"show", "Ramen \xF0\x9F\x8D\x9C"}, 1, "cannot be stored"},
    };
    const auto before = snapshot(k.dir.path());
    for (const Case& c : cases) {
        const CliRun run = runCli(k.dir, c.args, c.input);
        const std::string shown = ::testing::PrintToString(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << shown << "\n" << run.err;
        EXPECT_NE(run.err.find(c.err), std::string::npos) << shown << "\n" << run.err;
        EXPECT_EQ(run.out, "") << shown;
        if (c.exitCode == 2) {
            EXPECT_NE(run.err.find("\nusage: culvora-cli"), std::string::npos) << run.err;
        }
    }
    EXPECT_EQ(snapshot(k.dir.path()), before);
    EXPECT_EQ(readBytes(elsewhere.file("bilder.txt")), crlf({"Soup", "/tmp/soup.jpg"}));
}

TEST(CliCommandLine, ALineThatIsNotRunMakesNothingInTheHomeFolder)
{
    TempDir home;
    TempDir cwd;
    const std::vector<std::string> env = {"HOME=" + home.path().string()};
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--version"},
             {"--help"},
             {"list", "--help"},
             {"help", "menu"},
             {"frobnicate"},
             {"--data-dir"},
             {"list", "--bogus"},
             {"show"},
             {"exchange-init"},
         }) {
        const CliRun run = runBare(cwd.path(), env, args);
        EXPECT_NE(run.exitCode, 1) << args[0] << ": " << run.err;
    }
    EXPECT_EQ(runBare(cwd.path(), env, {"--version"}).out, "culvora-cli 1.0\n");
    EXPECT_TRUE(snapshot(home.path()).empty());
    EXPECT_TRUE(snapshot(cwd.path()).empty());
    // The first command that needs the data folder makes and seeds it there.
    EXPECT_EQ(runBare(cwd.path(), env, {"books"}).exitCode, 0);
    EXPECT_TRUE(fs::exists(home.file(".local/share/culvora/bocker.txt")));
    EXPECT_TRUE(snapshot(cwd.path()).empty());
}

TEST(CliCommandLine, WithoutAHomeFolderThereIsNoDataFolderToMake)
{
    TempDir cwd;
    const CliRun run = runBare(cwd.path(), {}, {"list"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "culvora-cli: There is no data folder: HOME is not set. Name one with "
                       "--data-dir DIR or CULVORA_DATA_DIR.\n");
    EXPECT_TRUE(snapshot(cwd.path()).empty()) << "nothing in the working folder";
    // Named outright, or by the variable, it is found.
    TempDir data;
    EXPECT_EQ(runBare(cwd.path(), {}, {"--data-dir", data.path().string(), "books"}).exitCode, 0);
    EXPECT_EQ(runBare(cwd.path(), {"CULVORA_DATA_DIR=" + data.path().string()}, {"types"}).exitCode,
              0);
    // And a command that needs no data folder runs without one.
    TempDir server;
    EXPECT_EQ(runBare(cwd.path(), {}, {"exchange-init", "--root", server.path().string()}).exitCode,
              0);
    EXPECT_TRUE(snapshot(cwd.path()).empty());
}

TEST(CliCommandLine, TheManPageHoldsEveryCommandAndOption)
{
    TempDir data;
    const CliRun man = runCli(data, {"--man"});
    EXPECT_EQ(man.exitCode, 0);
    EXPECT_TRUE(man.out.starts_with(".TH CULVORA\\-CLI 1 "));
    for (std::string_view section : {".SH SYNOPSIS", ".SH COMMANDS", ".SH EXIT STATUS"}) {
        EXPECT_NE(man.out.find(section), std::string::npos) << section;
    }
    auto roff = [](std::string text) {
        for (std::size_t at = text.find('-'); at != std::string::npos; at = text.find('-', at + 2))
            text.insert(at, "\\");
        return text;
    };
    for (const auto& [name, synopsis] : listedCommands(programHelp())) {
        EXPECT_NE(man.out.find(".TP\n\\fB" + roff(name) + "\\fR"), std::string::npos) << name;
        std::istringstream words(synopsis);
        for (std::string word; words >> word;) {
            const auto dash = word.find("--");
            if (dash == std::string::npos) continue;
            const std::string option = word.substr(dash, word.find_first_of("]", dash) - dash);
            EXPECT_NE(man.out.find("\\fB" + roff(option) + "\\fR"), std::string::npos)
                << name << " " << option;
        }
    }
    // No line may begin with a dot or quote that roff would take for a request by mistake.
    std::istringstream lines(man.out);
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with('.')) {
            EXPECT_TRUE(std::regex_match(
                line, std::regex(R"(\.(TH|SH|SS|TP|IP|PP|RS|RE|B|BR|I|br)( .*)?)")))
                << line;
        }
    }
}

TEST(CliCommandLine, TheReadmeListsWhatHelpPrints)
{
    // README.md of the sources this test was built from. __FILE__ is relative to the build
    // folder when the build folder lies inside the sources; culvora-cli is its src/culvora-cli.
    fs::path source = __FILE__;
    if (source.is_relative()) source = fs::path(cliPath()).parent_path().parent_path() / source;
    const fs::path readme = source.parent_path().parent_path().parent_path() / "README.md";
    const std::string text = readBytes(readme);
    const std::string begin = "<!-- culvora-cli --help: begin -->\n";
    const std::string end = "<!-- culvora-cli --help: end -->\n";
    const auto from = text.find(begin);
    const auto to = text.find(end);
    ASSERT_NE(from, std::string::npos) << readme;
    ASSERT_NE(to, std::string::npos) << readme;
    std::string listed;
    std::istringstream lines(text.substr(from + begin.size(), to - from - begin.size()));
    for (std::string line; std::getline(lines, line);) {
        ASSERT_TRUE(line.empty() || line.starts_with("    ")) << line;
        listed += (line.empty() ? line : line.substr(4)) + "\n";
    }
    EXPECT_EQ(listed, programHelp())
        << "The README's list differs from culvora-cli --help: put the output of\n"
           "  culvora-cli --help | sed 's/^./    &/'\n"
           "between the two markers in README.md.";
}

}  // namespace
