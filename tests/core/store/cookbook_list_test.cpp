#include "core/store/cookbook_list.h"

#include <gtest/gtest.h>

#include <csignal>

#include <sys/resource.h>

#include "support/records.h"
#include "support/temp_dir.h"

namespace culvora::store {
namespace {

using culvora::testing::record;
using testing::crlf;
using testing::TempDir;

class CookbookListFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir.write("bocker.txt",
                  crlf({"Standard", "BOOK1.TXT", "Soppor", "BOOK2.TXT", "Kakor", "BOOK3.TXT"}));
        dir.write("BOOK1.TXT", "");
        dir.write("BOOK2.TXT", crlf({"[NAMN]", "Pea soup"}));
        dir.write("BOOK3.TXT", "");
        dir.write("tavendi.ini", crlf({"BOOK1.TXT", "0"}));
    }

    TempDir dir;
    CookbookList list{ProgramFolder(dir.path())};
};

TEST(CookbookListFormat, ReadsPairsAndIgnoresADanglingTitle)
{
    EXPECT_TRUE(parseCookbookList("").empty());
    EXPECT_EQ(parseCookbookList(crlf({"Standard", "BOOK1.TXT", "Half"})),
              (std::vector<CookbookEntry>{{"Standard", "BOOK1.TXT"}}));
    // Files edited on other systems: lone LF and lone CR end lines too.
    EXPECT_EQ(parseCookbookList("A\nA.TXT\rB\r\nB.TXT"),
              (std::vector<CookbookEntry>{{"A", "A.TXT"}, {"B", "B.TXT"}}));
    std::vector<CookbookEntry> entries{{"Standard", "BOOK1.TXT"}, {"Fisk", "BOOK2.TXT"}};
    EXPECT_EQ(formatCookbookList(entries), "Standard\r\nBOOK1.TXT\r\nFisk\r\nBOOK2.TXT\r\n");
}

TEST(CookbookListFormat, TitlesSortInTheProgramsOrder)
{
    std::vector<CookbookEntry> entries{{"\xD6l", "1"},    {"wok", "2"},     {"Vilt", "3"},
                                       {"zucchini", "4"}, {"Bakning", "5"}, {"2 min", "6"}};
    EXPECT_EQ(sortedTitles(entries),
              (std::vector<std::string>{"2 min", "Bakning", "Vilt", "wok", "zucchini", "\xD6l"}));
}

TEST(CookbookListFormat, LookUpsCompareTitleLinesOnly)
{
    // A file line that equals a title must not be taken for that title.
    std::vector<CookbookEntry> entries{{"Fest", "Soppor"}, {"Soppor", "BOOK2.TXT"}};
    ASSERT_NE(findByTitle(entries, "Soppor"), nullptr);
    EXPECT_EQ(findByTitle(entries, "Soppor")->file, "BOOK2.TXT");
    EXPECT_EQ(findByTitle(entries, "soppor"), nullptr);
    EXPECT_EQ(findByFile(entries, "BOOK2.TXT")->title, "Soppor");
    EXPECT_EQ(findByFile(entries, "Fest"), nullptr);
}

TEST(CookbookListFormat, RemoveRefusals)
{
    struct Case {
        std::size_t count;
        std::string title;
        RemoveRefusal expected;
    };
    for (const auto& c : std::vector<Case>{
             {1, "Soppor", RemoveRefusal::LastCookbook},
             {1, "Standard", RemoveRefusal::LastCookbook},
             {3, "Standard", RemoveRefusal::StandardCookbook},
             {3, "STANDARD", RemoveRefusal::StandardCookbook},
             {3, "sTaNdArD", RemoveRefusal::StandardCookbook},
             {3, "Standard cookbook", RemoveRefusal::None},
             {3, " Standard", RemoveRefusal::None},
             {2, "Soppor", RemoveRefusal::None},
         }) {
        EXPECT_EQ(removeRefusal(c.count, c.title), c.expected) << c.count << " " << c.title;
    }
}

TEST(CookbookListFormat, NewBookProposalFollowsTheCount)
{
    EXPECT_EQ(proposeNewBook(4), (CookbookEntry{"New book 4", "BOOK5.TXT"}));
    EXPECT_EQ(proposeNewBook(1), (CookbookEntry{"New book 1", "BOOK2.TXT"}));
    EXPECT_EQ(proposeNewBook(0), (CookbookEntry{"New book 0", "BOOK1.TXT"}));
}

TEST(CookbookListFormat, FallbackIsTheStandardBookElseTheFirstTitle)
{
    std::vector<CookbookEntry> withStandard{{"Bakning", "B.TXT"}, {"STANDARD", "S.TXT"}};
    EXPECT_EQ(fallbackCookbook(withStandard), (CookbookEntry{"STANDARD", "S.TXT"}));
    std::vector<CookbookEntry> without{{"Vilt", "V.TXT"}, {"Bakning", "B.TXT"}};
    EXPECT_EQ(fallbackCookbook(without), (CookbookEntry{"Bakning", "B.TXT"}));
    EXPECT_EQ(fallbackCookbook({}), std::nullopt);
}

TEST_F(CookbookListFiles, CheckNewBookNamesTheBoxToCorrect)
{
    struct Case {
        std::string title;
        std::string file;
        NewBookField field;
        std::string message;
    };
    const std::string notPlain =
        " is not a plain file name in the data folder. A cookbook's file name has no folder in it, such as BOOK5.TXT.";
    for (const auto& c : std::vector<Case>{
             {"", "BOOK9.TXT", NewBookField::Title, "Please type a title for the new cookbook."},
             {"   ", "BOOK9.TXT", NewBookField::Title, "Please type a title for the new cookbook."},
             {"Two\r\nlines", "BOOK9.TXT", NewBookField::Title,
              "The title of a cookbook must be one line of text."},
             {"Soppor", "BOOK9.TXT", NewBookField::Title,
              "There is already a cookbook called \"Soppor\"."},
             {"Fisk", "", NewBookField::File, "Please type a file name for the new cookbook."},
             {"Fisk", "../BOOK9.TXT", NewBookField::File, "\"../BOOK9.TXT\"" + notPlain},
             {"Fisk", "/tmp/BOOK9.TXT", NewBookField::File, "\"/tmp/BOOK9.TXT\"" + notPlain},
             {"Fisk", "..", NewBookField::File, "\"..\"" + notPlain},
             {"Fisk", "sub\\BOOK9.TXT", NewBookField::File, "\"sub\\BOOK9.TXT\"" + notPlain},
             {"Fisk", "BOOK2.TXT", NewBookField::File, "This file already exists."},
         }) {
        auto entries = list.read();
        ASSERT_TRUE(entries);
        auto problem = checkNewBook(*entries, list.folder(), c.title, c.file);
        ASSERT_TRUE(problem) << c.title << " / " << c.file;
        EXPECT_EQ(problem->field, c.field) << c.title << " / " << c.file;
        EXPECT_EQ(problem->message, c.message);
    }
    EXPECT_FALSE(checkNewBook(*list.read(), list.folder(), "Fisk", "BOOK4.TXT"));
    // A title differing only in case is a different title: look-ups are exact.
    EXPECT_FALSE(checkNewBook(*list.read(), list.folder(), "soppor", "BOOK4.TXT"));
}

TEST_F(CookbookListFiles, AFileListedButMissingIsNotGivenToASecondTitle)
{
    dir.write("bocker.txt", crlf({"Standard", "BOOK1.TXT", "Borta", "GONE.TXT"}));
    auto problem = checkNewBook(*list.read(), list.folder(), "Fisk", "GONE.TXT");
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->message, "The cookbook \"Borta\" already uses this file.");
}

TEST_F(CookbookListFiles, AddListsTheBookAndCreatesItEmpty)
{
    ASSERT_TRUE(list.add("Fisk & skaldjur", "BOOK4.TXT"));
    EXPECT_EQ(dir.read("bocker.txt"), crlf({"Standard", "BOOK1.TXT", "Soppor", "BOOK2.TXT", "Kakor",
                                            "BOOK3.TXT", "Fisk & skaldjur", "BOOK4.TXT"}));
    ASSERT_TRUE(dir.exists("BOOK4.TXT"));
    EXPECT_EQ(dir.read("BOOK4.TXT"), "");
    EXPECT_EQ(dir.read("tavendi.ini"), crlf({"BOOK1.TXT", "0"}));
    EXPECT_FALSE(dir.exists("bocker.new"));
}

TEST_F(CookbookListFiles, AddRefusalsWriteNothing)
{
    const std::string before = dir.read("bocker.txt");
    auto exists = list.add("Fisk", "BOOK2.TXT");
    ASSERT_FALSE(exists);
    EXPECT_EQ(exists.error().code, ErrorCode::Refused);
    EXPECT_EQ(exists.error().message, "This file already exists.");
    EXPECT_EQ(dir.read("BOOK2.TXT"), crlf({"[NAMN]", "Pea soup"}));

    auto outside = list.add("Fisk", "../escape.txt");
    ASSERT_FALSE(outside);
    EXPECT_EQ(outside.error().code, ErrorCode::Invalid);
    EXPECT_FALSE(std::filesystem::exists(dir.path().parent_path() / "escape.txt"));

    EXPECT_FALSE(list.add("Kakor", "BOOK9.TXT"));
    EXPECT_FALSE(dir.exists("BOOK9.TXT"));
    EXPECT_EQ(dir.read("bocker.txt"), before);
}

TEST(CookbookListAdd, StartsAMissingListAndDropsADanglingTitle)
{
    TempDir dir;
    CookbookList list{ProgramFolder(dir.path())};
    ASSERT_TRUE(list.read());
    EXPECT_TRUE(list.read()->empty());
    ASSERT_TRUE(list.add("Standard", "BOOK1.TXT"));
    EXPECT_EQ(dir.read("bocker.txt"), crlf({"Standard", "BOOK1.TXT"}));

    // Appending after a half pair would make the new title the old title's file name.
    dir.write("bocker.txt", crlf({"Standard", "BOOK1.TXT", "Half"}));
    ASSERT_TRUE(list.add("Fisk", "BOOK2.TXT"));
    EXPECT_EQ(dir.read("bocker.txt"), crlf({"Standard", "BOOK1.TXT", "Fisk", "BOOK2.TXT"}));
}

TEST_F(CookbookListFiles, RemoveTakesThePairAndTheFile)
{
    auto removed = list.remove("Soppor");
    ASSERT_TRUE(removed) << removed.error().message;
    EXPECT_EQ(removed->entry, (CookbookEntry{"Soppor", "BOOK2.TXT"}));
    EXPECT_EQ(removed->note, "");
    EXPECT_EQ(dir.read("bocker.txt"), crlf({"Standard", "BOOK1.TXT", "Kakor", "BOOK3.TXT"}));
    EXPECT_FALSE(dir.exists("BOOK2.TXT"));
    EXPECT_FALSE(dir.exists("bocker.new"));

    // The last pair: one pair less and no empty line left at the end.
    ASSERT_TRUE(list.remove("Kakor"));
    EXPECT_EQ(dir.read("bocker.txt"), "Standard\r\nBOOK1.TXT\r\n");
    EXPECT_FALSE(dir.exists("BOOK3.TXT"));
}

TEST_F(CookbookListFiles, RemoveRefusesTheLastAndTheStandardBook)
{
    const std::string before = dir.read("bocker.txt");
    auto standard = list.remove("Standard");
    ASSERT_FALSE(standard);
    EXPECT_EQ(standard.error().code, ErrorCode::Refused);
    EXPECT_EQ(standard.error().message, "Du får inte ta bort standardboken.");
    EXPECT_EQ(dir.read("bocker.txt"), before);
    EXPECT_TRUE(dir.exists("BOOK1.TXT"));

    dir.write("bocker.txt", crlf({"Soppor", "BOOK2.TXT"}));
    auto last = list.remove("Soppor");
    ASSERT_FALSE(last);
    EXPECT_EQ(last.error().code, ErrorCode::Refused);
    EXPECT_EQ(last.error().message, "One cookbook must remain.");
    EXPECT_TRUE(dir.exists("BOOK2.TXT"));

    dir.write("bocker.txt", before);
    auto missing = list.remove("Fisk");
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().code, ErrorCode::NotFound);
    EXPECT_EQ(dir.read("bocker.txt"), before);
}

TEST_F(CookbookListFiles, RemoveKeepsFilesItMustNotTouch)
{
    const auto outside = dir.path().parent_path() / (dir.path().filename().string() + "-keep.txt");
    testing::writeBytes(outside, "precious");
    dir.write("bocker.txt",
              crlf({"Standard", "BOOK1.TXT", "Delad", "BOOK2.TXT", "Soppor", "BOOK2.TXT", "Fel",
                    "../" + outside.filename().string(), "Borta", "GONE.TXT"}));
    ASSERT_TRUE(list.remove("Delad"));
    EXPECT_TRUE(dir.exists("BOOK2.TXT")) << "still listed under Soppor";
    ASSERT_TRUE(list.remove("Fel"));
    EXPECT_EQ(testing::readBytes(outside), "precious");
    std::filesystem::remove(outside);
    ASSERT_TRUE(list.remove("Borta")) << "a missing file is nothing to delete";
    EXPECT_EQ(dir.read("bocker.txt"), crlf({"Standard", "BOOK1.TXT", "Soppor", "BOOK2.TXT"}));
}

TEST_F(CookbookListFiles, RemoveRewritesTheListBeforeDeletingTheFile)
{
    // A list that cannot be rewritten (files may not grow past a few bytes here) leaves the
    // book listed and its recipes on disk.
    dir.write("BOOK2.TXT", "[NAMN]\r\nPea soup\r\n");
    const std::string before = dir.read("bocker.txt");
    struct rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    auto* previous = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit tiny = old;
    tiny.rlim_cur = 8;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tiny), 0);
    auto removed = list.remove("Soppor");
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);
    ASSERT_FALSE(removed);
    EXPECT_EQ(removed.error().code, ErrorCode::Io);
    EXPECT_EQ(dir.read("bocker.txt"), before);
    EXPECT_EQ(dir.read("BOOK2.TXT"), "[NAMN]\r\nPea soup\r\n");
}

TEST_F(CookbookListFiles, TheProgramsOwnFilesAreNoCookbooks)
{
    const std::string before = dir.read("bocker.txt");
    for (std::string file : {"recept.tmp", "TYPER.TXT", "tavendi.ini", "bilder.txt", "Drinkar.txt",
                             "sok.txt", "index.txt", "s\xF6kta.txt", "culvora.lock", "html",
                             "recept.tmp.a1B2c3", "network.txt", "netindex.txt", "ind.tmp"}) {
        auto problem = checkNewBook(*list.read(), list.folder(), "Fine title", file);
        ASSERT_TRUE(problem.has_value()) << file;
        EXPECT_EQ(problem->field, NewBookField::File);
        EXPECT_NE(problem->message.find("one of the program's own files"), std::string::npos)
            << problem->message;
        EXPECT_FALSE(list.add("Fine title", file)) << file;
    }
    EXPECT_EQ(dir.read("bocker.txt"), before);
    EXPECT_FALSE(dir.exists("recept.tmp"));
    // Names that merely look alike are fine.
    EXPECT_FALSE(checkNewBook(*list.read(), list.folder(), "Fine title", "recept.tmp2").has_value());
    EXPECT_FALSE(checkNewBook(*list.read(), list.folder(), "Fine title", "my typer.txt").has_value());
}

TEST_F(CookbookListFiles, MovingByTitleRefusesWhatWouldHideARecipe)
{
    const std::string tea = record({.name = "Tea",
                                    .servings = "1",
                                    .time = "5",
                                    .ingredients = {},
                                    .steps = {},
                                    .type = "Accessories"});
    dir.write("BOOK1.TXT", tea + crlf({"[NAMN]", "Pea soup", "[PORTIONER]", "4"}));

    auto moved = list.moveRecipe("BOOK1.TXT", "Kakor", "Tea");
    ASSERT_TRUE(moved) << moved.error().message;
    EXPECT_EQ(*moved, CookbookList::MoveOutcome::Moved);
    EXPECT_EQ(dir.read("BOOK3.TXT"), tea);

    // "Soppor" has a Pea soup already: nothing moves.
    auto clash = list.moveRecipe("BOOK1.TXT", "Soppor", "Pea soup");
    ASSERT_FALSE(clash);
    EXPECT_EQ(clash.error().code, ErrorCode::Refused);
    EXPECT_EQ(
        clash.error().message,
        "The cookbook \"Soppor\" already has a recipe called \"Pea soup\". Nothing was moved.");
    EXPECT_EQ(dir.read("BOOK2.TXT"), crlf({"[NAMN]", "Pea soup"}));

    // Into its own cookbook: nothing to do.
    EXPECT_EQ(list.moveRecipe("BOOK1.TXT", "Standard", "Pea soup").value(),
              CookbookList::MoveOutcome::SameCookbook);
    EXPECT_EQ(listNames(dir.read("BOOK1.TXT")), (std::vector<std::string>{"Pea soup"}));
    EXPECT_EQ(list.moveRecipe("BOOK1.TXT", "Nowhere", "Pea soup").error().code,
              ErrorCode::NotFound);
}

}  // namespace
}  // namespace culvora::store
