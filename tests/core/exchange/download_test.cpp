#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "core/exchange/download.h"
#include "support/fake_ftp_client.h"
#include "support/records.h"
#include "support/temp_dir.h"

using namespace culvora;
using namespace culvora::exchange;
using culvora::testing::crlf;
using culvora::testing::FakeFtpClient;
using culvora::testing::FakeFtpServer;
using culvora::testing::readBytes;
using culvora::testing::record;
using culvora::testing::TempDir;
namespace fs = std::filesystem;

namespace {

const std::string kPancakes = record({.name = "Pancakes",
                                      .servings = "4",
                                      .time = "20",
                                      .ingredients = {"3 dl milk", "2 eggs", ""},
                                      .steps = {"Whisk and fry."},
                                      .type = "Desserts"});
// Its instructions name the pancakes: that is no recipe of that name.
const std::string kWaffles = record({.name = "Waffles",
                                     .servings = "4",
                                     .time = "15",
                                     .ingredients = {"3 dl flour"},
                                     .steps = {"Serve with the Pancakes."},
                                     .type = "Desserts"});
const std::string kStew = record({.name = "Stew",
                                  .servings = "6",
                                  .time = "90",
                                  .ingredients = {"1 kg beef"},
                                  .steps = {"Simmer."},
                                  .type = "Hot dish"});

std::string renamed(std::string record, std::string_view to)
{
    const std::size_t at = record.find("\r\n") + 2;
    return record.replace(at, record.find("\r\n", at) - at, to);
}

// Every file of the data folder and its bytes. The folder's lock file is made by the first
// change of any kind and holds nothing.
std::map<std::string, std::string> snapshot(const fs::path& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const std::string name = fs::relative(entry.path(), folder).string();
        if (name != "culvora.lock") files[name] = entry.is_regular_file() ? readBytes(entry) : "/";
    }
    return files;
}

// Answers the name question from a script and notes what it was asked and told.
class ScriptedNamer : public RecipeNamer {
public:
    explicit ScriptedNamer(std::deque<std::optional<std::string>> answers)
        : answers_(std::move(answers))
    {
    }
    std::optional<std::string> anotherName(const std::string& current,
                                           const std::string& proposal) override
    {
        asked.push_back(current);
        proposed.push_back(proposal);
        if (onAsk) onAsk();
        if (answers_.empty()) return std::nullopt;
        auto answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    void refused(const Error& why) override { refusals.push_back(why.message); }

    std::vector<std::string> asked;
    std::vector<std::string> proposed;
    std::vector<std::string> refusals;
    std::function<void()> onAsk;

private:
    std::deque<std::optional<std::string>> answers_;
};

class NoPrompts : public SessionPrompts {
public:
    void message(const std::string& text) override { shown.push_back(text); }
    bool askYesNo(const std::string& text) override
    {
        shown.push_back(text);
        return false;
    }
    std::vector<std::string> shown;
};

// A data folder with three cookbooks, one of which is called MINE.tvx, and the files an earlier
// version left behind; an exchange whose soups list a recipe of the stem MINE.
struct Kitchen {
    Kitchen()
    {
        dir.write("bocker.txt",
                  crlf({"Standard", "BOOK1.TXT", "Mine", "MINE.tvx", "Desserts", "BOOK2.TXT"}));
        dir.write("BOOK1.TXT", "");
        dir.write("MINE.tvx", kStew);
        dir.write("BOOK2.TXT", kWaffles);
        // Earlier versions fetched into the data folder; such a file may be the cook's by now.
        dir.write("network.txt", crlf({"# Old|old", "/end"}));
        dir.write("netindex.txt", crlf({"/begin", "Old|20200101000000", "/end"}));
        dir.write("20200101000000.tvx", kStew);

        server->folders["/tavendi"]["network.txt"] =
            crlf({"<", "Hello!", ">", "#!Soups|soups", "##Cold|cold", "/end"});
        server->folders["/tavendi/soups"]["netindex.txt"] =
            crlf({"/begin", "Pancakes|MINE", "Waffles|20261210143005", "/end"});
        server->folders["/tavendi/soups"]["MINE.tvx"] = kPancakes;
        server->folders["/tavendi/soups"]["20261210143005.tvx"] = kWaffles;

        session.server = "exchange.example.org";
        session.user = "culvora";
        session.OpenSession();
        session.Connect();
    }

    TempDir dir;
    ProgramFolder folder{dir.path()};
    std::shared_ptr<FakeFtpServer> server = std::make_shared<FakeFtpServer>();
    NoPrompts prompts;
    FtpSession session{std::make_unique<FakeFtpClient>(server), prompts};
};

TEST(Download, OnlyTheChosenCookbookChangesWhateverTheServerNames)
{
    Kitchen k;
    const auto before = snapshot(k.dir.path());

    // The lists come from memory: the server's, not the stale copies in the data folder.
    auto categories = fetchCategories(k.session);
    ASSERT_TRUE(categories) << categories.error().message;
    EXPECT_EQ(categories->message, "Hello!\r>\r");
    ASSERT_EQ(categories->categories.size(), 2u);
    EXPECT_EQ(categories->categories[1].folder, "cold");
    auto index = fetchRecipeIndex(k.session, "soups");
    ASSERT_TRUE(index);
    ASSERT_EQ(index->recipes.size(), 2u);
    EXPECT_EQ(index->recipes[0].stem, "MINE");
    EXPECT_EQ(index->recipes[0].dateTime, "MINE--  ::");

    // The recipe's stem is the stem of the cook's cookbook MINE.tvx.
    auto bytes = fetchExchangeFile(k.session, "soups", index->recipes[0].stem);
    ASSERT_TRUE(bytes) << bytes.error().message;
    EXPECT_EQ(*bytes, kPancakes);
    ScriptedNamer namer({});
    auto added = addExchangeRecipe(k.folder, "BOOK2.TXT", *bytes, namer);
    ASSERT_TRUE(added) << added.error().message;
    EXPECT_TRUE(added->added);
    EXPECT_EQ(added->name, "Pancakes");
    EXPECT_EQ(added->ingredients, (std::vector<std::string>{"3 dl milk", "2 eggs"}));
    EXPECT_TRUE(namer.asked.empty());

    auto expected = before;
    expected["BOOK2.TXT"] = kWaffles + kPancakes;
    EXPECT_EQ(snapshot(k.dir.path()), expected);
    EXPECT_EQ(k.dir.read("MINE.tvx"), kStew);
    EXPECT_TRUE(k.prompts.shown.empty());
    EXPECT_EQ(k.server->callsMade(),
              (std::vector<std::string>{"connect exchange.example.org:2121 culvora/wobak", "list /",
                                        "cd /tavendi", "get /tavendi network.txt",
                                        "cd /tavendi/soups", "get /tavendi/soups netindex.txt",
                                        "cd /tavendi/soups", "get /tavendi/soups MINE.tvx"}));
}

TEST(Download, WhatCannotBeFetchedIsSaidAndNothingIsAsked)
{
    Kitchen k;
    const auto before = snapshot(k.dir.path());
    const auto calls = k.server->callsMade();
    // A folder or stem that would lead elsewhere on the server is refused before any transfer.
    for (auto [folder, stem] : {std::pair{"../etc", "MINE"},
                                {"soups", "../../secret"},
                                {"soups", "C:evil"},
                                {"", "MINE"}}) {
        auto refused = fetchExchangeFile(k.session, folder, stem);
        ASSERT_FALSE(refused) << folder << " " << stem;
        EXPECT_EQ(refused.error().code, ErrorCode::Invalid);
        EXPECT_TRUE(refused.error().message.find("is not a plain name, so nothing was fetched.") !=
                    std::string::npos)
            << refused.error().message;
    }
    EXPECT_FALSE(fetchRecipeIndex(k.session, "a/b"));
    EXPECT_EQ(k.server->callsMade(), calls);

    // A file the server does not have: the session has asked about the connection, and the
    // error says which file did not come.
    auto missing = fetchExchangeFile(k.session, "soups", "20990101000000");
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().code, ErrorCode::Io);
    EXPECT_EQ(missing.error().message, "Could not fetch 20990101000000.tvx from the exchange.");
    EXPECT_EQ(k.prompts.shown,
              (std::vector<std::string>{"FtpGetFile Extd Err: 550 No such file.",
                                        "FtpGetFile Err: 12003\r\nClose Connection and Session?"}));
    EXPECT_EQ(snapshot(k.dir.path()), before);
}

TEST(Download, ATakenNameIsAskedForUntilFreeOrLeftOut)
{
    struct Case {
        std::string_view what;
        std::string book;
        std::string name;  // given on the command line
        std::deque<std::optional<std::string>> answers;
        std::vector<std::string> asked;
        std::vector<std::string> refusals;  // the start of each
        std::optional<std::string> addedAs;
    };
    const Case cases[] = {
        {"free", kWaffles, "", {}, {}, {}, "Pancakes"},
        {"free, after a lone [NAMN]", kWaffles + "[NAMN]\r\n", "", {}, {}, {}, "Pancakes"},
        {"taken, another name",
         kPancakes + kWaffles,
         "",
         {"Cr\xEApes"},
         {"Pancakes"},
         {},
         "Cr\xEApes"},
        {"taken, left out", kPancakes + kWaffles, "", {std::nullopt}, {"Pancakes"}, {}, {}},
        {"an empty answer, a taken one, markers and two lines",
         kPancakes + kWaffles,
         "",
         {"", "Waffles", "[TYP]", "Two\r\nlines", "Cr\xEApes"},
         {"Pancakes", "Pancakes", "Waffles", "[TYP]", "Two\r\nlines"},
         {"A recipe cannot be called \"[TYP]\": the cookbook uses that line as one of its "
          "markers.",
          "A recipe's name must be one line of text."},
         "Cr\xEApes"},
        {"a marker that only begins the name is a name",
         kPancakes,
         "",
         {"[TYP] pancakes"},
         {"Pancakes"},
         {},
         "[TYP] pancakes"},
        {"the name given", kWaffles, "Blinis", {}, {}, {}, "Blinis"},
        {"the name given is taken", kWaffles, "Waffles", {std::nullopt}, {"Waffles"}, {}, {}},
        {"the name given is a marker",
         kWaffles,
         "[NAMN]",
         {std::nullopt},
         {"[NAMN]"},
         {"A recipe cannot be called \"[NAMN]\""},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        dir.write("BOOK2.TXT", c.book);
        ScriptedNamer namer(c.answers);
        auto added =
            addExchangeRecipe(ProgramFolder(dir.path()), "BOOK2.TXT", kPancakes, namer, c.name);
        ASSERT_TRUE(added) << added.error().message;
        EXPECT_EQ(namer.asked, c.asked);
        ASSERT_EQ(namer.refusals.size(), c.refusals.size());
        for (std::size_t i = 0; i < c.refusals.size(); ++i) {
            EXPECT_TRUE(namer.refusals[i].starts_with(c.refusals[i])) << namer.refusals[i];
        }
        EXPECT_EQ(added->added, c.addedAs.has_value());
        if (c.addedAs) {
            EXPECT_EQ(added->name, *c.addedAs);
            const std::string kept =
                c.book.ends_with("[NAMN]\r\n") ? c.book.substr(0, c.book.size() - 8) : c.book;
            EXPECT_EQ(dir.read("BOOK2.TXT"), kept + renamed(kPancakes, *c.addedAs));
        } else {
            EXPECT_EQ(dir.read("BOOK2.TXT"), c.book);
        }
    }
}

TEST(Download, ANameTakenWhileTheCookTypesIsAskedForAgain)
{
    TempDir dir;
    const ProgramFolder folder(dir.path());
    dir.write("BOOK2.TXT", kPancakes);
    ScriptedNamer namer({"Cr\xEApes", "Blinis"});
    // Another writer (a second window, a script) adds a recipe "Crêpes" while the question is
    // open: the answer is checked against the cookbook as it is then, not as it was read.
    namer.onAsk = [&] {
        if (namer.asked.size() == 1) {
            dir.write("BOOK2.TXT", kPancakes + renamed(kWaffles, "Cr\xEApes"));
        }
    };
    auto added = addExchangeRecipe(folder, "BOOK2.TXT", kPancakes, namer);
    ASSERT_TRUE(added) << added.error().message;
    EXPECT_EQ(added->name, "Blinis");
    EXPECT_EQ(namer.asked, (std::vector<std::string>{"Pancakes", "Cr\xEApes"}));
    EXPECT_EQ(dir.read("BOOK2.TXT"),
              kPancakes + renamed(kWaffles, "Cr\xEApes") + renamed(kPancakes, "Blinis"));
}

TEST(Download, WhatCannotBeAddedChangesNothingAndAsksNothing)
{
    struct Case {
        std::string_view what;
        std::string bytes;
        std::string book;
        ErrorCode code;
        std::string_view message;
    };
    const Case cases[] = {
        {"cut short", kPancakes.substr(0, 60), "BOOK2.TXT", ErrorCode::Invalid,
         "The recipe file from the server is not one complete recipe (it ends inside the "
         "ingredients). Nothing was added to the cookbook."},
        {"two recipes", kPancakes + kWaffles, "BOOK2.TXT", ErrorCode::Invalid,
         "The recipe file from the server is not one complete recipe (it holds more than one "
         "recipe). Nothing was added to the cookbook."},
        {"a cookbook that is not there", kPancakes, "BOOK3.TXT", ErrorCode::NotFound,
         "The cookbook file \"BOOK3.TXT\" does not exist. Nothing was added to it."},
        {"one of the program's files", kPancakes, "bocker.txt", ErrorCode::Invalid,
         "\"bocker.txt\" is one of the program's own files"},
        {"a path", kPancakes, "../BOOK2.TXT", ErrorCode::Invalid, "is not a plain file name"},
        // What the cook could not add by hand does not come from a server either.
        {"escape sequences", renamed(kStew, "Stew\x1B]2;owned\x07"), "BOOK2.TXT",
         ErrorCode::Invalid,
         "The recipe \"Stew\\x1B]2;owned\\x07\" cannot be added: its name holds the control "
         "character 0x1B, which a recipe cannot hold."},
        {"escape sequences in the text", kStew + "\x1B[2J\r\n", "BOOK2.TXT", ErrorCode::Invalid,
         "The recipe \"Stew\" cannot be added: it holds the control character 0x1B"},
        {"a name of megabytes", renamed(kStew, std::string(10 * 1024 * 1024, 'S')), "BOOK2.TXT",
         ErrorCode::Invalid, "characters, more than the 200 a name may have."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        dir.write("bocker.txt", crlf({"Desserts", "BOOK2.TXT"}));
        dir.write("BOOK2.TXT", kPancakes);
        const auto before = snapshot(dir.path());
        ScriptedNamer namer({"Blinis"});
        auto added = addExchangeRecipe(ProgramFolder(dir.path()), c.book, c.bytes, namer);
        ASSERT_FALSE(added);
        EXPECT_EQ(added.error().code, c.code);
        EXPECT_NE(added.error().message.find(c.message), std::string::npos)
            << added.error().message;
        EXPECT_TRUE(namer.asked.empty());
        EXPECT_EQ(snapshot(dir.path()), before);
    }
}

TEST(Download, TheQuestionProposesTheFirstFreeNumberedName)
{
    TempDir dir;
    const ProgramFolder folder(dir.path());
    const std::string book = kPancakes + renamed(kWaffles, "Pancakes (2)");
    dir.write("BOOK2.TXT", book);
    // The cook takes what is offered for the taken name; a marker is offered back as typed.
    ScriptedNamer namer({"[TYP]", "Pancakes (3)"});
    auto added = addExchangeRecipe(folder, "BOOK2.TXT", kPancakes, namer);
    ASSERT_TRUE(added) << added.error().message;
    EXPECT_EQ(namer.asked, (std::vector<std::string>{"Pancakes", "[TYP]"}));
    EXPECT_EQ(namer.proposed, (std::vector<std::string>{"Pancakes (3)", "[TYP]"}));
    EXPECT_EQ(added->name, "Pancakes (3)");
    EXPECT_EQ(added->ownName, "Pancakes");
    EXPECT_EQ(dir.read("BOOK2.TXT"), book + renamed(kPancakes, "Pancakes (3)"));
}

}  // namespace
