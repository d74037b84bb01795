#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>

#include "core/recipes/html_page.h"
#include "core/store/cookbook.h"
#include "core/text/text.h"
#include "core/transfer/backup.h"
#include "core/transfer/cookbook_import.h"
#include "core/transfer/html_archive.h"
#include "support/records.h"
#include "support/temp_dir.h"

using namespace culvora;
using namespace culvora::transfer;
using culvora::testing::cookbook;
using culvora::testing::crlf;
using culvora::testing::record;
using culvora::testing::TempDir;

namespace {

// A record's lines after its "[NAMN]" line, for tests that put odd lines between records.
std::string recordBody(const std::string& name, const std::string& servings = "4",
                       const std::string& ingredient = "water")
{
    return crlf({name, "[PORTIONER]", servings, "[TID]", "30", "[IND]", ingredient, "[G\xD6RA]",
                 "Stir.", "[TYP]", "Soups"});
}

// --- Importing a cookbook file ---------------------------------------------------------------

TEST(CookbookImport, AppendsTheRecordsUnchanged)
{
    const std::string chosen = cookbook({{.name = "Soup"}, {.name = "Stew"}});
    const std::string book = record({.name = "Soup"});
    struct Case {
        std::string cookbook;
        std::string expected;
    };
    // A name the cookbook has already comes again, numbered.
    const std::string renamed = cookbook({{.name = "Soup (2)"}, {.name = "Stew"}});
    const Case cases[] = {
        // After a record's type line: "[NAMN]" and the records.
        {book, book + renamed},
        // A lone "[NAMN]" at the end is not doubled.
        {book + "[NAMN]\r\n", book + renamed},
        {"", chosen},
    };
    for (const Case& c : cases)
        EXPECT_EQ(withImportedCookbook(c.cookbook, chosen).value(), c.expected);
    // Lone CR and LF line ends come in as CR LF.
    EXPECT_EQ(withImportedCookbook("", "[NAMN]\nA\rB").value(), crlf({"[NAMN]", "A", "B"}));

    for (const std::string& bad : {std::string(), std::string("\r\n[NAMN]\r\nSoup\r\n"),
                                   std::string("[NAMN] \r\nSoup\r\n"), std::string("[namn]\r\n")}) {
        auto refused = withImportedCookbook(book, bad);
        ASSERT_FALSE(refused);
        EXPECT_EQ(refused.error().message, "Not a Culvora-file");
    }
}

TEST(CookbookImport, IntoTheCookbookItselfAndFromAnywhere)
{
    TempDir dir;
    ProgramFolder folder(dir.path());
    const std::string book = record({.name = "Soup"});
    dir.write("recept.txt", book);
    auto itself = importCookbook(folder, "recept.txt", dir.file("recept.txt"));
    ASSERT_TRUE(itself) << itself.error().message;
    EXPECT_EQ(itself->imported, 1);
    EXPECT_EQ(itself->renamed, 1);
    const std::string twice = book + record({.name = "Soup (2)"});
    EXPECT_EQ(dir.read("recept.txt"), twice);

    TempDir elsewhere;
    elsewhere.write("shared.tvx", "not a cookbook\r\n");
    auto refused = importCookbook(folder, "recept.txt", elsewhere.file("shared.tvx"));
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().message, "Not a Culvora-file");
    EXPECT_EQ(dir.read("recept.txt"), twice);
    EXPECT_FALSE(importCookbook(folder, "recept.txt", elsewhere.file("missing.tvx")));
    EXPECT_FALSE(importCookbook(folder, "missing.txt", dir.file("recept.txt")));
}

// What could not be added by hand is not imported either: each such record is left out and
// named, the others come in as they stand, and a record left out takes its "[NAMN]" line along.
TEST(CookbookImport, RecordsThatCouldNotBeAddedByHandAreLeftOut)
{
    const std::string huge(10 * 1024 * 1024, 'n');
    const std::string chosen = "[NAMN]\r\n" + recordBody("Evil\x1B]0;owned\x07") + "[NAMN]\r\n" +
                               recordBody("Soup") + "[NAMN]\r\n" + recordBody(huge) + "[NAMN]\r\n" +
                               recordBody("Stew", "4", "1 \x1B[31mred\x1B[0m onion") +
                               "[NAMN]\r\n" + recordBody("Pie") + "[NAMN]\r\n\r\n" + "[NAMN]\r\n";
    const std::string book = "[NAMN]\r\n" + recordBody("Tea");
    std::string out = book;
    auto report = importedLines(book, chosen, [&](std::string_view piece) { out += piece; });
    ASSERT_TRUE(report);
    EXPECT_EQ(out, book + "[NAMN]\r\n" + recordBody("Soup") + "[NAMN]\r\n" + recordBody("Pie") +
                       "[NAMN]\r\n");
    EXPECT_EQ(report->imported, 2);
    EXPECT_EQ(report->skippedCount, 4);
    EXPECT_EQ(skippedMessage(*report),
              "4 recipes were not imported:\n"
              "\"Evil\\x1B]0;owned\\x07\": its name holds the control character 0x1B, which a "
              "recipe cannot hold.\n\"" +
                  std::string(text::kMessageNameChars, 'n') + "\u2026\": its name has " +
                  std::to_string(huge.size()) +
                  " characters, more than the 200 a name may have.\n"
                  "\"Stew\": it holds the control character 0x1B, which a recipe cannot hold.\n"
                  "recipe 6 of the file: it has no name.");

    // Nothing that passes: the cookbook is left as it was.
    TempDir dir;
    ProgramFolder folder(dir.path());
    dir.write("recept.txt", book);
    dir.write("bad.tvx", "[NAMN]\r\n" + recordBody(huge));
    auto none = importCookbook(folder, "recept.txt", dir.file("bad.tvx"));
    ASSERT_TRUE(none);
    EXPECT_EQ(none->imported, 0);
    EXPECT_EQ(none->skippedCount, 1);
    EXPECT_EQ(dir.read("recept.txt"), book);

    // A FIFO in place of the file is refused at once.
    ASSERT_EQ(::mkfifo(dir.file("fifo.tvx").c_str(), 0600), 0);
    auto fifo = importCookbook(folder, "recept.txt", dir.file("fifo.tvx"));
    ASSERT_FALSE(fifo);
    EXPECT_NE(fifo.error().message.find("not an ordinary file"), std::string::npos);
}

// A record's lines after its "[NAMN]" line, for files whose tag lines are spelled out.
std::string afterTag(const std::string& name, const std::string& servings = "4")
{
    return crlf({name, "[PORTIONER]", servings, "[TID]", "30", "[IND]", "water", "[G\xD6RA]",
                 "Stir.", "[TYP]", "Soups"});
}

TEST(CookbookImport, TakenNamesAreNumberedEarlierOnesOfTheFileIncluded)
{
    const std::string book = "[NAMN]\r\n" + afterTag("Soup") + "[NAMN]\r\n" + afterTag("Soup (2)");
    // The second and third Soup, and the last line a name without a line end.
    const std::string chosen = "[NAMN]\r\n" + afterTag("Soup", "1") + "[NAMN]\n" + afterTag("Stew") +
                               "[NAMN]\r\n" + afterTag("Soup", "3") + "[NAMN]\r\nStew";
    auto imported = importedCookbook(book, chosen);
    ASSERT_TRUE(imported) << imported.error().message;
    EXPECT_EQ(imported->content, book + "[NAMN]\r\n" + afterTag("Soup (3)", "1") + "[NAMN]\r\n" +
                                     afterTag("Stew") + "[NAMN]\r\n" + afterTag("Soup (4)", "3") +
                                     "[NAMN]\r\nStew (2)\r\n");
    EXPECT_EQ(imported->report.imported, 4);
    EXPECT_EQ(imported->report.renamed, 3);
    EXPECT_EQ(imported->report.firstRenamed, "Soup (3)");
    EXPECT_EQ(cookbookImportMessage(imported->report),
              "4 recipes imported. 3 recipes had names that were taken and were given numbered "
              "names, such as \"Soup (3)\".");
}

TEST(CookbookImport, AUtf8FileIsConvertedAndWhatCannotBeHeldIsRefused)
{
    // "Knäckebröd" with its "[GÖRA]" tag, written by an editor that saves UTF-8.
    const std::string utf8 = crlf({"[NAMN]", "Kn\xC3\xA4" "ckebr\xC3\xB6" "d", "[PORTIONER]", "10",
                                   "[TID]", "40", "[IND]", "6 dl r\xC3\xA5gmj\xC3\xB6l",
                                   "[G\xC3\x96RA]", "Kavla tunt.", "[TYP]", "Br\xC3\xB6" "d"});
    const std::string cp1252 = crlf({"[NAMN]", "Kn\xE4" "ckebr\xF6" "d", "[PORTIONER]", "10",
                                     "[TID]", "40", "[IND]", "6 dl r\xE5gmj\xF6l", "[G\xD6RA]",
                                     "Kavla tunt.", "[TYP]", "Br\xF6" "d"});
    for (const std::string& file : {utf8, "\xEF\xBB\xBF" + utf8, cp1252}) {
        auto imported = withImportedCookbook("", file);
        ASSERT_TRUE(imported) << imported.error().message;
        EXPECT_EQ(*imported, cp1252);
        const auto read = store::parseRecord(*imported, "Kn\xE4" "ckebr\xF6" "d");
        ASSERT_TRUE(read);
        EXPECT_EQ(read->ingredients, "6 dl r\xE5gmj\xF6l\r\n");
        EXPECT_EQ(read->instructions, "Kavla tunt.\r\n");
    }

    // A character Windows-1252 has no byte for: refused, named, and nothing written.
    TempDir dir;
    const ProgramFolder folder(dir.path());
    dir.write("BOOK1.TXT", cp1252);
    TempDir elsewhere;
    elsewhere.write("third.tvx", crlf({"[NAMN]", "Scones", "[PORTIONER]", "6", "[TID]", "20",
                                       "[IND]", "\xE2\x85\x93 tsp salt", "[G\xC3\x96RA]",
                                       "[TYP]", "Bread"}));
    auto refused = importCookbook(folder, "BOOK1.TXT", elsewhere.file("third.tvx"));
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().message,
              "The character \"\xE2\x85\x93\" (U+2153) cannot be stored: the cookbook files hold "
              "Western European letters and signs only (Windows-1252). Nothing was imported.");
    EXPECT_EQ(dir.read("BOOK1.TXT"), cp1252);
}

// --- The HTML archive ------------------------------------------------------------------------

ArchiveOptions noFrames()
{
    ArchiveOptions options;
    options.frames = false;
    return options;
}

TEST(HtmlArchive, BackgroundLines)
{
    EXPECT_EQ(colourHex(0, 128, 255), "0080FF");
    EXPECT_EQ(colourHex(255, 0, 128), "FF0080");
    EXPECT_EQ(colourHex(-5, 300, 10), "00FF0A");
    ArchiveOptions options;
    EXPECT_EQ(backgroundLine(options), "<BODY BGCOLOR=\"FFFFFF\">") << "a white page to start with";
    options.image = true;
    EXPECT_EQ(backgroundLine(options), "<BODY BACKGROUND=\"\">");
    options.imagePath = "/home/cook/bg \"1\".png";
    EXPECT_EQ(backgroundLine(options), "<BODY BACKGROUND=\"/home/cook/bg &quot;1&quot;.png\">");
}

TEST(HtmlArchive, FramesAndNoFrames)
{
    const std::string book = cookbook({
        {.name = "Pancakes", .ingredients = {"3 dl mj\xF6lk"}},
        {.name = "Apple pie", .servings = "8", .ingredients = {"water"}, .steps = {"Stir."}},
    });
    ArchiveOptions noFrames;
    noFrames.frames = false;
    noFrames.red = 0, noFrames.green = 128, noFrames.blue = 255;
    auto files = archiveFiles(book, noFrames);
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files[0].name, "index.html");
    EXPECT_EQ(files[0].content, crlf({"<html>", "<head>", recipes::kCharsetMeta, "</head>",
                                      "<BODY BGCOLOR=\"0080FF\">", "<font face=\"Arial\" size=2>",
                                      "<a href=\"1000.html\" target=\"_new\">", "Apple pie",
                                      "</a><br>", "<a href=\"1001.html\" target=\"_new\">",
                                      "Pancakes", "</a><br>", "</font>", "</body>", "</html>"}));
    EXPECT_EQ(files[1].name, "1000.html");
    EXPECT_EQ(files[1].content,
              recipes::recipePage(
                  {"Apple pie", "(Serves 8)", "Time to cook: 30 min", "water\r\n", "Stir.\r\n"},
                  "<BODY BGCOLOR=\"0080FF\">"));
    EXPECT_EQ(files[2].name, "1001.html");
    EXPECT_NE(files[2].content.find("3 dl mj&ouml;lk<BR>\r\n"), std::string::npos);

    ArchiveOptions frames;
    frames.image = true;
    frames.imagePath = "bg.gif";
    files = archiveFiles(book, frames);
    ASSERT_EQ(files.size(), 5u);
    EXPECT_EQ(files[0].name, "index.html");
    EXPECT_EQ(
        files[0].content,
        crlf({"<html>", "<head>", recipes::kCharsetMeta, "<title>Recipes</title>", "</head>",
              "<frameset cols=250,* border=0 frameborder=1 framespacing=0>",
              " <frame src=\"left.html\" name=\"Left\" target = \"recindex\" scrolling=\"auto\" >",
              " <frame src=\"recindex.html\" name=\"Recindex\" scrolling=\"auto\" >", "</frameset>",
              "</html>"}));
    EXPECT_EQ(files[1].name, "recindex.html");
    EXPECT_EQ(files[1].content, crlf({"<html>", "<head>", recipes::kCharsetMeta, "</head>",
                                      "<BODY BACKGROUND=\"bg.gif\">", "</body>", "</html>"}));
    EXPECT_EQ(files[2].name, "left.html");
    EXPECT_NE(files[2].content.find("<a href=\"1000.html\" target=\"Recindex\">\r\nApple pie\r\n"),
              std::string::npos);
    EXPECT_EQ(files[3].name, "1000.html");
}

TEST(HtmlArchive, ATimeThatNamesItsUnitGetsNoSecondMin)
{
    const std::string book = crlf({"[NAMN]", "Stew", "[PORTIONER]", "4", "[TID]", "25 min",
                                   "[IND]", "[G\xD6RA]", "[TYP]", "Hot dish", "[NAMN]", "Soup",
                                   "[PORTIONER]", "2", "[TID]", "25", "[IND]", "[G\xD6RA]",
                                   "[TYP]", "Hot dish"});
    const auto files = archiveFiles(book, noFrames());
    ASSERT_EQ(files.size(), 3u);
    EXPECT_NE(files[1].content.find("\r\nTime to cook: 25 min<BR><BR>\r\n"), std::string::npos);
    EXPECT_NE(files[2].content.find("\r\nTime to cook: 25 min<BR><BR>\r\n"), std::string::npos);
    for (const auto& file : files) EXPECT_EQ(file.content.find("min min"), std::string::npos);
}

TEST(HtmlArchive, OddCookbooksNeverHang)
{
    // A name twice gets both records; records without tags give empty fields; a lone "[NAMN]"
    // at the end names nothing; text before the first record is not a recipe.
    const std::string book = "stray line\r\n" + record({.name = "Soup", .servings = "1"}) +
                             record({.name = "Soup", .servings = "2"}) +
                             crlf({"[NAMN]", "Bare", "[NAMN]"});
    auto files = archiveFiles(book, noFrames());
    ASSERT_EQ(files.size(), 4u);
    EXPECT_NE(files[1].content.find("<B><U>Bare</B></U>"), std::string::npos);
    EXPECT_NE(files[1].content.find("(Serves )<BR>"), std::string::npos);
    EXPECT_NE(files[2].content.find("(Serves 1)<BR>"), std::string::npos);
    EXPECT_NE(files[3].content.find("(Serves 2)<BR>"), std::string::npos);

    EXPECT_EQ(archiveFiles("", noFrames()).size(), 1u);
}

TEST(HtmlArchive, WritesTheFolderAndLeavesOlderSurplusPages)
{
    TempDir dir;
    ProgramFolder folder(dir.path());
    dir.write("recept.txt", cookbook({{.name = "B"}, {.name = "A"}}));
    std::filesystem::create_directory(dir.file("html"));
    dir.write("html/1005.html", "from a larger cookbook");
    std::vector<int> progress;
    auto result = writeArchive(folder, "recept.txt", ArchiveOptions{},
                               [&](int percent) { progress.push_back(percent); });
    ASSERT_TRUE(result) << result.error().message;
    EXPECT_EQ(result->pages, 2);
    EXPECT_EQ(result->index, dir.file("html/index.html"));
    EXPECT_EQ(progress, (std::vector<int>{0, 50, 100}));
    for (auto name : {"index.html", "left.html", "recindex.html", "1000.html", "1001.html"}) {
        EXPECT_TRUE(dir.exists(std::string("html/") + name)) << name;
    }
    EXPECT_EQ(dir.read("html/1005.html"), "from a larger cookbook");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.file("html")), {}), 6)
        << "no temporary file stays behind";

    // An empty cookbook: a list without links, no recipe page.
    dir.write("empty.txt", "");
    ASSERT_TRUE(writeArchive(folder, "empty.txt", noFrames()));
    EXPECT_EQ(dir.read("html/index.html").find("<a href"), std::string::npos);

    // Records without a name of their own (a run of "[NAMN]" lines, an empty name line) get no
    // page, and the result counts them.
    dir.write("tags.txt", crlf({"[NAMN]", "[NAMN]", "[NAMN]", "[NAMN]", "[NAMN]", ""}) +
                              "[NAMN]\r\n" + recordBody("Soup") + crlf({"[NAMN]", "[TYP]"}));
    auto tags = writeArchive(folder, "tags.txt", noFrames());
    ASSERT_TRUE(tags);
    EXPECT_EQ(tags->pages, 1);
    EXPECT_EQ(tags->skipped, 4);
    EXPECT_EQ(skippedRecordsMessage(tags->skipped), "4 records without a name got no page.");
    EXPECT_EQ(skippedRecordsMessage(1), "1 record without a name got no page.");
    EXPECT_EQ(skippedRecordsMessage(0), "");

    // "html" that is not a folder of ours is refused, not followed.
    TempDir other;
    std::filesystem::remove_all(dir.file("html"));
    std::filesystem::create_directory_symlink(other.path(), dir.file("html"));
    EXPECT_FALSE(writeArchive(folder, "recept.txt", ArchiveOptions{}));
    EXPECT_TRUE(std::filesystem::is_empty(other.path()));
}

// Links planted in the archive's folder: a hard link at a page's name is replaced, not written
// through, and the folder swapped for a link while the pages are written still gets them all,
// while the place the link leads to gets nothing.
TEST(HtmlArchive, PlantedLinksAndASwappedFolderSendNothingElsewhere)
{
    TempDir dir;
    TempDir outside;
    ProgramFolder folder(dir.path());
    std::string book;
    for (int i = 0; i < 40; ++i)
        book += "[NAMN]\r\n" + recordBody("Dish " + std::to_string(100 + i));
    dir.write("recept.txt", book);
    std::filesystem::create_directory(dir.file("html"));
    outside.write("index.html", "the outside file");
    outside.write("secret.txt", "keep");
    std::filesystem::create_hard_link(outside.file("index.html"), dir.file("html/index.html"));
    std::filesystem::create_symlink(outside.file("secret.txt"), dir.file("html/1000.html"));

    bool swapped = false;
    auto result = writeArchive(folder, "recept.txt", noFrames(), [&](int percent) {
        if (percent < 50 || swapped) return;
        swapped = true;
        std::filesystem::rename(dir.file("html"), dir.file("html.real"));
        std::filesystem::create_directory_symlink(outside.path(), dir.file("html"));
    });
    ASSERT_TRUE(result) << result.error().message;
    ASSERT_TRUE(swapped);
    EXPECT_EQ(result->pages, 40);
    EXPECT_EQ(outside.read("index.html"), "the outside file");
    EXPECT_EQ(outside.read("secret.txt"), "keep");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(outside.path()), {}), 2);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.file("html.real")), {}), 41);
    EXPECT_NE(dir.read("html.real/index.html").find("Dish 139"), std::string::npos);
    EXPECT_NE(dir.read("html.real/1000.html").find("<B><U>Dish 100</B></U>"), std::string::npos);
    EXPECT_NE(dir.read("html.real/1039.html").find("<B><U>Dish 139</B></U>"), std::string::npos);
}

// A page of one huge recipe is written piece by piece, and is byte for byte the page the
// single-recipe export would make.
TEST(HtmlArchive, AHugeRecipeGivesTheSamePage)
{
    TempDir dir;
    ProgramFolder folder(dir.path());
    std::string ingredients;
    for (int i = 0; i < 200000; ++i) ingredients += i % 3 ? "\r\n" : "1 dl mj\xF6lk & <salt>\r\n";
    dir.write("recept.txt", "[NAMN]\r\nBig\r\n[PORTIONER]\r\n4\r\n[TID]\r\n10\r\n[IND]\r\n" +
                                ingredients + "[G\xD6RA]\r\nStir.\r\n[TYP]\r\nMain\r\n");
    ASSERT_TRUE(writeArchive(folder, "recept.txt", noFrames()));
    EXPECT_EQ(
        dir.read("html/1000.html"),
        recipes::recipePage({"Big", "(Serves 4)", "Time to cook: 10 min", ingredients, "Stir.\r\n"},
                            backgroundLine(noFrames())));
}

// --- Backup ----------------------------------------------------------------------------------

TEST(Backup, TheFirstMediumMountedForTheUser)
{
    const std::string table = "proc /proc proc rw 0 0\n"
                              "/dev/sda1 / ext4 rw 0 0\n"
                              "/dev/sdc1 /media/other/STICK vfat rw 0 0\n"
                              "/dev/sdb1 /media/cook/MY\\040STICK vfat rw 0 0\n"
                              "/dev/sdd1 /run/media/cook/CARD vfat rw 0 0\n";
    EXPECT_EQ(firstRemovableMedium(table, "cook"), std::filesystem::path("/media/cook/MY STICK"));
    EXPECT_EQ(firstRemovableMedium("/dev/sdd1 /run/media/cook/CARD vfat rw 0 0\n", "cook"),
              std::filesystem::path("/run/media/cook/CARD"));
    EXPECT_EQ(firstRemovableMedium(table, "nobody"), std::nullopt);
    EXPECT_EQ(firstRemovableMedium("/dev/sdb1 /media/cook vfat rw 0 0\n", "cook"), std::nullopt);
    EXPECT_EQ(firstRemovableMedium(table, ""), std::nullopt);
    EXPECT_EQ(noMediumMessage("cook"),
              "No removable medium was found: nothing is mounted under /media/cook or "
              "/run/media/cook.");
}

TEST(Backup, CopiesWhatIsCheckedAndStopsAtTheFirstFailure)
{
    TempDir dir;
    ProgramFolder folder(dir.path());
    dir.write("BOOK1.TXT", record({.name = "Soup"}));
    dir.write("drinkar.txt", "drinks");
    TempDir stick;
    stick.write("drinkar.txt", "older drinks");

    ASSERT_TRUE(backup(folder, {true, false, "BOOK1.TXT", stick.path()}));
    EXPECT_EQ(stick.read("BOOK1.TXT"), dir.read("BOOK1.TXT"));
    EXPECT_EQ(stick.read("drinkar.txt"), "older drinks");
    ASSERT_TRUE(backup(folder, {false, true, "BOOK1.TXT", stick.path()}));
    EXPECT_EQ(stick.read("drinkar.txt"), "drinks");

    // The drinks file is missing: the cookbook copied before stays, the older drinks copy is
    // not touched, and the message says what failed.
    std::filesystem::remove(stick.file("BOOK1.TXT"));
    stick.write("drinkar.txt", "older drinks");
    std::filesystem::remove(dir.file("drinkar.txt"));
    auto failed = backup(folder, {true, true, "BOOK1.TXT", stick.path()});
    ASSERT_FALSE(failed);
    EXPECT_NE(failed.error().message.find("drinkar.txt"), std::string::npos)
        << failed.error().message;
    EXPECT_EQ(stick.read("BOOK1.TXT"), dir.read("BOOK1.TXT"));
    EXPECT_EQ(stick.read("drinkar.txt"), "older drinks");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(stick.path()), {}), 2);

    EXPECT_FALSE(backup(folder, {true, false, "BOOK1.TXT", stick.file("no such folder")}));
    EXPECT_FALSE(backup(folder, {true, false, "../BOOK1.TXT", stick.path()}));
}

// tavendi.ini names the current cookbook, and anyone can edit it: a name that is one of the
// program's own files, or that leaves the folder, is refused as "list" refuses it, and nothing
// is copied, not even the drinks file.
TEST(Backup, TheCookbookNameFollowsTheRulesOfEveryCookbookOperation)
{
    TempDir dir;
    ProgramFolder folder(dir.path());
    dir.write("bocker.txt", crlf({"Standard", "BOOK1.TXT"}));
    dir.write("drinkar.txt", "drinks");
    TempDir stick;
    for (const std::string& name : {std::string("bocker.txt"), std::string("TAVENDI.INI"),
                                    std::string("recept.tmp.ab12cd"), std::string("../x.txt")}) {
        auto refused = backup(folder, {true, true, name, stick.path()});
        ASSERT_FALSE(refused) << name;
        EXPECT_EQ(refused.error().message,
                  checkCookbookFileName(name).error().message + " Nothing was copied.");
        EXPECT_TRUE(std::filesystem::is_empty(stick.path())) << name;
    }
}

}  // namespace
