// culvora-cli import-web: a saved page and a page from a web server into a cookbook, the
// choice of a page's recipe and of the type, and what it refuses.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "support/cli_runner.h"
#include "support/http_test_server.h"
#include "support/records.h"

using culvora::testing::crlf;
using culvora::testing::runCli;
using culvora::testing::TempDir;

namespace {

std::string fixtureBytes(const char* name)
{
    const char* source = std::getenv("CULVORA_SOURCE_DIR");
    return culvora::testing::readBytes(std::filesystem::path(source ? source : ".") /
                                       "tests/core/transfer/fixtures/web" / name);
}

struct WebBook {
    WebBook()
    {
        dir.write("bocker.txt", crlf({"Standard", "BOOK1.TXT", "Web finds", "WEB.TXT"}));
        dir.write("BOOK1.TXT", "");
        dir.write("WEB.TXT", "");
        dir.write("typer.txt", crlf({"Hot dish", "Accessories", "Desserts", "First Course",
                                     "Imported"}));
    }
    TempDir dir;
    TempDir files;
};

}  // namespace

TEST(CliWebImport, AddsTheChosenRecipeOfASavedPage)
{
    WebBook f;
    f.files.write("two.html", fixtureBytes("two_recipes.html"));
    const std::string page = f.files.file("two.html").string();

    auto first = runCli(f.dir, {"import-web", page, "--to", "Web finds"});
    EXPECT_EQ(first.exitCode, 0) << first.err;
    EXPECT_EQ(first.out, "\"Thin pancakes\" added, of type \"Imported\".\n"
                         "The page holds 2 recipes; --index N adds another.\n");
    auto second = runCli(f.dir, {"import-web", page, "--to", "Web finds", "--index", "2",
                                 "--type", "Hot dish"});
    EXPECT_EQ(second.exitCode, 0) << second.err;
    EXPECT_EQ(second.out, "\"Oven pancake\" added, of type \"Hot dish\".\n");
    EXPECT_EQ(f.dir.read("WEB.TXT"),
              crlf({"[NAMN]", "Thin pancakes", "[PORTIONER]", "4", "[TID]", "30", "[IND]",
                    "3 dl flour", "6 dl milk", "3 eggs", "[G\xD6RA]", "Whisk everything.",
                    "Fry thin pancakes in butter.", "Source: " + page, "[TYP]", "Imported",
                    "[NAMN]", "Oven pancake", "[PORTIONER]", "4", "[TID]", "25", "[IND]",
                    "2 dl flour", "6 dl milk", "4 eggs", "100 g bacon", "[G\xD6RA]",
                    "Heat the oven to 225 \xB0" "C.", "Bake for 25 minutes.", "Source: " + page,
                    "[TYP]", "Hot dish"}));

    // The same recipe again: its name is taken, so it goes in numbered, as the imports do.
    auto again = runCli(f.dir, {"import-web", page, "--to", "Web finds"});
    EXPECT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(again.out, "\"Thin pancakes (2)\" added, of type \"Imported\".\n"
                         "The page holds 2 recipes; --index N adds another.\n");
    // A name the cook gives goes in as it is, and is refused when taken.
    auto renamed = runCli(f.dir, {"import-web", page, "--to", "Web finds", "--name",
                                  "Tunna pannkakor"});
    EXPECT_EQ(renamed.exitCode, 0) << renamed.err;
    const std::string book = f.dir.read("WEB.TXT");
    EXPECT_NE(book.find("[NAMN]\r\nThin pancakes (2)\r\n"), std::string::npos);
    EXPECT_NE(book.find("[NAMN]\r\nTunna pannkakor\r\n"), std::string::npos);
    auto taken = runCli(f.dir, {"import-web", page, "--to", "Web finds", "--name",
                                "Oven pancake"});
    EXPECT_EQ(taken.exitCode, 1);
    EXPECT_EQ(taken.err, "culvora-cli: A recipe named \"Oven pancake\" is in the cookbook "
                         "already. Nothing was added.\n");
    EXPECT_EQ(f.dir.read("WEB.TXT"), book);
    EXPECT_EQ(f.dir.read("BOOK1.TXT"), "");
}

TEST(CliWebImport, RefusesWhatItCannotAdd)
{
    WebBook f;
    f.files.write("two.html", fixtureBytes("two_recipes.html"));
    f.files.write("none.html", fixtureBytes("none.html"));
    f.files.write("emoji.html", "<script type=\"application/ld+json\">{\"@type\":\"Recipe\","
                                "\"name\":\"Cake \xF0\x9F\x8E\x82\"}</script>");
    const std::string two = f.files.file("two.html").string();
    const std::string before = f.dir.read("WEB.TXT");
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        std::string err;  // its start
    };
    const Case cases[] = {
        {{f.files.file("none.html").string(), "--to", "Web finds"}, 1,
         "culvora-cli: This page holds no recipe Culvora can read."},
        {{f.files.file("emoji.html").string(), "--to", "Web finds"}, 1,
         "culvora-cli: The recipe's name cannot be saved. The character"},
        {{f.files.file("missing.html").string(), "--to", "Web finds"}, 1, "culvora-cli: "},
        {{two, "--to", "Web finds", "--index", "3"}, 1,
         "culvora-cli: The page holds 2 recipes; --index can be 1 to 2."},
        {{two, "--to", "Web finds", "--type", "Soups"}, 1,
         "culvora-cli: There is no recipe type \"Soups\"; \"types\" lists them."},
        {{two, "--to", "No such book"}, 1, "culvora-cli: "},
        {{"ftp://example.org/page.html", "--to", "Web finds"}, 1,
         "culvora-cli: Only web addresses that begin with https:// or http:// can be read."},
        {{two, "--to", "Web finds", "--index", "0"}, 2, "culvora-cli: "},
        {{two}, 2, "culvora-cli: "},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args{"import-web"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        auto run = runCli(f.dir, args);
        EXPECT_EQ(run.exitCode, c.exitCode) << args[1] << " " << run.err;
        EXPECT_TRUE(run.err.starts_with(c.err)) << run.err;
        EXPECT_EQ(run.out, "");
    }
    EXPECT_EQ(f.dir.read("WEB.TXT"), before);
}

TEST(CliWebImport, ReadsAPageFromAWebServer)
{
    WebBook f;
    culvora::testing::HttpTestServer server;
    server.page("/kanelbullar/", fixtureBytes("graph.html"));
    server.redirect("/k", "/kanelbullar/");
    auto added = runCli(f.dir, {"import-web", server.url("/k"), "--to", "Web finds"});
    EXPECT_EQ(added.exitCode, 0) << added.err;
    EXPECT_EQ(added.out, "\"Kanelbullar & kaffe\" added, of type \"Desserts\".\n");
    const std::string book = f.dir.read("WEB.TXT");
    EXPECT_NE(book.find("\r\nSource: " + server.url("/kanelbullar/") + "\r\n[TYP]\r\nDesserts\r\n"),
              std::string::npos)
        << book;
    server.page("/gone", "", "text/html", 404);
    auto missing = runCli(f.dir, {"import-web", server.url("/gone"), "--to", "Web finds"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("answered 404 (there is no such page)"), std::string::npos);
}
