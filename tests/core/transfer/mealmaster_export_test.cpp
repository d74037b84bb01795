#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "core/files/files.h"
#include "core/store/record_reader.h"
#include "core/text/text.h"
#include "core/transfer/mealmaster.h"
#include "core/transfer/mealmaster_export.h"
#include "support/records.h"
#include "support/temp_dir.h"

using namespace culvora;
using namespace culvora::transfer;
using culvora::testing::cookbook;
using culvora::testing::crlf;
using culvora::testing::TempDir;

namespace {

// The source tree, which the test runner names.
std::filesystem::path sourceDir()
{
    const char* dir = std::getenv("CULVORA_SOURCE_DIR");
    return dir ? dir : ".";
}

std::string fileBytes(const std::filesystem::path& path)
{
    auto bytes = readFile(path);
    EXPECT_TRUE(bytes) << path;
    return bytes ? *bytes : std::string();
}

std::vector<store::RecipeRecord> cookbookRecords(std::string_view content)
{
    std::vector<store::RecipeRecord> records;
    store::RecordReader reader(content);
    while (auto record = reader.next()) records.push_back(store::toRecipeRecord(*record));
    return records;
}

std::vector<store::RecipeRecord> roundTrip(const std::vector<store::RecipeRecord>& records,
                                           ExportEncoding encoding = ExportEncoding::Cp850)
{
    const auto exported = exportMealMaster(records, encoding);
    EXPECT_EQ(exported.recipes, static_cast<int>(records.size()));
    const auto file = parseMealMaster(exported.bytes);
    EXPECT_TRUE(file.skipped.empty()) << file.skipped.front().reason;
    return file.recipes;
}

std::vector<std::string> foldedLines(std::string_view text)
{
    std::vector<std::string> out;
    for (auto line : text::splitLineViews(text)) {
        std::string folded;
        for (char c : line) {
            if (c == ' ' && (folded.empty() || folded.back() == ' ')) continue;
            folded += c;
        }
        while (!folded.empty() && folded.back() == ' ') folded.pop_back();
        out.push_back(folded);
    }
    return out;
}

std::string trimmed(std::string_view s)
{
    const auto first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return std::string(s.substr(first, s.find_last_not_of(' ') - first + 1));
}

std::vector<std::string> nonEmpty(std::vector<std::string> lines)
{
    std::erase(lines, std::string());
    return lines;
}

// What the import makes of any file it reads, it reads back the same from our export: the
// records of a Meal-Master file survive export and import unchanged.
TEST(MealMasterExport, ImportedFilesComeBackAsTheSameRecords)
{
    for (const char* name : {"classic", "version8"}) {
        const auto first =
            parseMealMaster(fileBytes(sourceDir() / "tests/fuzz/corpus/mealmaster_fuzz" / name));
        ASSERT_FALSE(first.recipes.empty()) << name;
        for (auto encoding : {ExportEncoding::Cp850, ExportEncoding::Utf8}) {
            EXPECT_EQ(roundTrip(first.recipes, encoding), first.recipes) << name;
        }
    }
}

// Our own cookbook goes out and comes back as the import makes every recipe: the name's
// letter case, the servings as a number, time 0, type "Imported", trimmed lines, the
// ingredients ended by one empty line; blanks inside an ingredient line may be spaced by the
// columns. An imported book then round-trips exactly.
TEST(MealMasterExport, TheDeliveredCookbookComesBackAsTheImportMakesIt)
{
    const auto records = cookbookRecords(fileBytes(sourceDir() / "data/BOOK1.TXT"));
    ASSERT_GT(records.size(), 10u);
    const auto back = roundTrip(records);
    ASSERT_EQ(back.size(), records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        const auto& was = records[i];
        const auto& is = back[i];
        EXPECT_EQ(is.name, importedName(trimmed(was.name)));
        EXPECT_EQ(is.servings, servingsOf(was.servings)) << was.name;
        EXPECT_EQ(is.cookingTime, "0");
        EXPECT_EQ(is.type, kImportedType);
        EXPECT_EQ(nonEmpty(foldedLines(is.ingredients)), nonEmpty(foldedLines(was.ingredients)))
            << was.name;
        EXPECT_TRUE(is.ingredients.ends_with("\r\n\r\n")) << was.name;
        EXPECT_EQ(foldedLines(is.instructions), foldedLines(was.instructions)) << was.name;
    }
    EXPECT_EQ(roundTrip(back), back);
}

TEST(MealMasterExport, AwkwardRecordsKeepTheirLines)
{
    const std::string longLine =
        "2 dl finely chopped fresh herbs of the season, such as dill, parsley, chives and a "
        "little tarragon if you have it";
    const std::vector<store::RecipeRecord> records = {
        {"\xC5ngbakad \xF6rtlax", "4 personer", "45",
         crlf({"1 1/2 c  flour", "400 g lax", longLine, "1 tsk salt", "", "", "-----S\xC5S-----",
               "2 dl gr\xE4"
               "dde",
               "", "-- to serve", "MMMMM", "salt"}),
         crlf({"MMMMM", "Stek \xE5t\x1A f\xE4rdigt.", "", "-----", "MMMMM----- via Meal-Master",
               "\xC4t!"}),
         "Hot dish"},
        {"Empty", "", "0", "", "", "Other"},
        {"No steps", "2", "10", crlf({"3 eggs"}), "", "First Course"},
        {"Only steps", "2", "10", crlf({"", ""}), crlf({"", "Boil.", "", "MMMMM"}), "Drink"},
    };
    const auto back = roundTrip(records);
    ASSERT_EQ(back.size(), 4u);
    EXPECT_EQ(back[0].name, "\xC5ngbakad \xF6rtlax");
    EXPECT_EQ(back[0].servings, "4");
    // The long line goes out in continuation lines and comes back whole; the empty lines
    // before the heading stay as one; the unit the columns lack ("tsk") stays in the text.
    EXPECT_EQ(back[0].ingredients,
              crlf({"1 1/2 c  flour", "400 g  lax",
                    "2 dl finely chopped fresh herbs of the season, such as dill, parsley, chives "
                    "and a little tarragon if you have it",
                    "1    tsk salt", "", "-----S\xC5S-----",
                    "2 dl gr\xE4"
                    "dde",
                    "-- to serve", "MMMMM", "salt", ""}));
    EXPECT_EQ(back[0].instructions, crlf({"MMMMM", "Stek \xE5t f\xE4rdigt.", "", "-----",
                                          "MMMMM----- via Meal Master", "\xC4t!"}));
    EXPECT_EQ(back[1].name, "Empty");
    EXPECT_EQ(back[1].ingredients, crlf({""}));
    EXPECT_EQ(back[1].instructions, "");
    EXPECT_EQ(back[2].ingredients, crlf({"3    eggs", ""}));
    EXPECT_EQ(back[2].instructions, "");
    // No ingredients: the steps stay steps.
    EXPECT_EQ(back[3].ingredients, crlf({""}));
    EXPECT_EQ(back[3].instructions, crlf({"", "Boil.", "", "MMMMM"}));

    // The long line went out in pieces of at most 40 characters, those after the first with
    // "-" in column 12; a word too long to break stays whole, and no break falls inside the
    // amount and unit columns.
    const store::RecipeRecord longOnes = {
        "Long", "1", "0", crlf({longLine, "1 kg " + std::string(45, 'x') + " y"}), "", "Other"};
    std::vector<std::string> written;
    const std::string longText = mealMasterRecipe(longOnes);
    for (auto line : text::splitLineViews(longText)) {
        if (line.find(':') == std::string_view::npos && line.starts_with("    ")) {
            written.emplace_back(line);
        }
    }
    ASSERT_GE(written.size(), 5u);
    EXPECT_TRUE(written[0].starts_with("      2 dl finely chopped")) << written[0];
    EXPECT_EQ(written[1].substr(0, 12), "           -");
    for (std::size_t i = 0; i + 2 < written.size(); ++i) EXPECT_LE(written[i].size(), 40u);
    EXPECT_EQ(written[written.size() - 2], "      1 kg " + std::string(45, 'x'));
    EXPECT_EQ(written.back(), "           -y");
    EXPECT_EQ(roundTrip({longOnes})[0].ingredients,
              crlf({longLine, "1 kg " + std::string(45, 'x') + " y", ""}));

    // The file itself: the header, the labels and the columns.
    const std::string text = mealMasterRecipe(records[2]);
    EXPECT_EQ(text, crlf({"MMMMM----- Recipe via Meal-Master (tm) v8.05", "",
                          "      Title: No steps", " Categories: First Course", "   Servings: 2",
                          "", "      3    eggs", "", "MMMMM", ""}));
}

// Code page 850 holds Å Ä Ö but not the euro sign or curly quotes: those are written as "?"
// and counted, so the user is told. UTF-8 holds them all.
TEST(MealMasterExport, EncodingsAndWhatCodePage850Lacks)
{
    const std::vector<store::RecipeRecord> records = {
        {"\xC5l med \x80", "1", "0", crlf({"1 \x93krydda\x94"}), crlf({"\xD6l."}), "Other"},
    };
    const auto cp850 = exportMealMaster(records, ExportEncoding::Cp850);
    EXPECT_EQ(cp850.replaced, 3);
    EXPECT_NE(cp850.bytes.find("Title: \x8Fl med ?"), std::string::npos);
    EXPECT_EQ(exportedMessage(cp850),
              "1 recipe exported. 3 characters that code page 850 lacks were written as \"?\".");
    const auto back850 = parseMealMaster(cp850.bytes, TextEncoding::Cp850);
    ASSERT_EQ(back850.recipes.size(), 1u);
    EXPECT_EQ(back850.recipes[0].name, "\xC5l med ?");
    EXPECT_EQ(back850.recipes[0].instructions, crlf({"\xD6l."}));

    const auto utf8 = exportMealMaster(records, ExportEncoding::Utf8);
    EXPECT_EQ(utf8.replaced, 0);
    EXPECT_EQ(exportedMessage(utf8), "1 recipe exported.");
    const auto back = parseMealMaster(utf8.bytes);
    ASSERT_EQ(back.recipes.size(), 1u);
    EXPECT_EQ(back.recipes[0].name, "\xC5l med \x80");
    EXPECT_EQ(back.recipes[0].ingredients, crlf({"1    \x93krydda\x94", ""}));
}

TEST(MealMasterExport, TheWholeCookbookOrTheNamedRecipes)
{
    TempDir dir;
    ProgramFolder folder(dir.path());
    ASSERT_TRUE(folder.write(
        "bok.txt", cookbook({{.name = "Stew"}, {.name = "Hash"}, {.name = "Pie"}}), "bok.new"));
    auto all = recordsForExport(folder, "bok.txt", {});
    ASSERT_TRUE(all);
    ASSERT_EQ(all->size(), 3u);
    EXPECT_EQ((*all)[2].name, "Pie");
    auto some = recordsForExport(folder, "bok.txt", {"Pie", "Stew"});
    ASSERT_TRUE(some);
    ASSERT_EQ(some->size(), 2u);
    EXPECT_EQ((*some)[0].name, "Pie");
    auto missing = recordsForExport(folder, "bok.txt", {"Stew", "Gone"});
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().code, ErrorCode::NotFound);
}

}  // namespace
