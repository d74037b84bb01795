#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "core/recipes/recipe_view.h"
#include "support/records.h"
#include "support/temp_dir.h"

using namespace culvora;
using namespace culvora::recipes;
using culvora::store::RecipeRecord;
using culvora::testing::crlf;
using culvora::testing::record;
using culvora::testing::TempDir;

namespace {

const std::string kPancakes = record({.name = "Pancakes",
                                      .servings = "4",
                                      .time = "30",
                                      .ingredients = {"3 eggs", "", "6 dl milk"},
                                      .steps = {"Whisk.", "", "Fry."},
                                      .type = "Desserts"});
const std::string kWaffles = record({.name = "Waffles",
                                     .servings = "6",
                                     .time = "20 ca",
                                     .ingredients = {},
                                     .steps = {},
                                     .type = "Desserts"});
const std::string kApple = record({.name = "\xC4ppelkaka",
                                   .servings = "8",
                                   .time = "50",
                                   .ingredients = {"apples"},
                                   .steps = {"Bake."},
                                   .type = "Desserts"});

TEST(RecipeView, LabelsAndTextsOfARecord)
{
    const auto page = viewerPage(kWaffles + kPancakes + kApple, "Pancakes");
    const RecipeTexts& t = page.texts;
    EXPECT_TRUE(t.found);
    EXPECT_EQ(t.name, "Pancakes");
    EXPECT_EQ(t.servings, "(Serves 4)");
    EXPECT_EQ(t.time, "Time to cook: 30 min");
    // Each line followed by CR LF, empty lines kept and counted.
    EXPECT_EQ(t.ingredients, "3 eggs\r\n\r\n6 dl milk\r\n");
    EXPECT_EQ(t.ingredientLines, 3);
    EXPECT_EQ(t.instructions, "Whisk.\r\n\r\nFry.\r\n");

    // The time line is shown as written, not as a number.
    const auto waffles = viewerPage(kWaffles, "Waffles").texts;
    EXPECT_EQ(waffles.time, "Time to cook: 20 ca min");
    EXPECT_EQ(waffles.ingredients, "");
    EXPECT_EQ(waffles.ingredientLines, 0);
}

TEST(RecipeView, IngredientHeightGrowsBy29TwipsALineTheClosingTagIncluded)
{
    EXPECT_EQ(ingredientHeightTwips(0), 29);
    EXPECT_EQ(ingredientHeightTwips(3), 116);
    EXPECT_EQ(ingredientHeightTwips(viewerPage(kPancakes, "Pancakes").texts.ingredientLines), 116);
}

TEST(RecipeView, ARecordCutShortShowsWhatIsThere)
{
    // No "[GÖRA]": everything after "[IND]" is ingredients; no "[TYP]": the instructions run on.
    const auto noTag = viewerPage(
        crlf({"[NAMN]", "Stew", "[PORTIONER]", "2", "[TID]", "90", "[IND]", "beef", "onions"}),
        "Stew");
    EXPECT_TRUE(noTag.texts.found);
    EXPECT_EQ(noTag.texts.ingredients, "beef\r\nonions\r\n");
    EXPECT_EQ(noTag.texts.instructions, "");
    const auto noType = viewerPage(crlf({"[NAMN]", "Stew", "[PORTIONER]", "2", "[TID]", "90",
                                         "[IND]", "beef", "[G\xD6RA]", "Simmer."}) +
                                       kPancakes,
                                   "Stew");
    EXPECT_EQ(noType.texts.instructions, "Simmer.\r\n");
}

TEST(RecipeView, AMissingRecipeSaysSo)
{
    const auto page = viewerPage(kPancakes + kWaffles, "Crumble");
    EXPECT_FALSE(page.texts.found);
    EXPECT_EQ(page.texts.name, "Crumble");
    EXPECT_EQ(page.texts.servings, "");
    EXPECT_EQ(page.texts.time, "");
    EXPECT_NE(page.texts.ingredients.find("could not be found"), std::string::npos);
    // An ingredient line that equals the name is not a name line.
    EXPECT_FALSE(viewerPage(kPancakes, "3 eggs").texts.found);
}

void expectSameTexts(const RecipeTexts& actual, const RecipeTexts& expected, std::string_view file)
{
    EXPECT_EQ(actual.found, expected.found) << file;
    EXPECT_EQ(actual.name, expected.name) << file;
    EXPECT_EQ(actual.servings, expected.servings) << file;
    EXPECT_EQ(actual.time, expected.time) << file;
    EXPECT_EQ(actual.ingredients, expected.ingredients) << file;
    EXPECT_EQ(actual.instructions, expected.instructions) << file;
}

// Hands out a text's bytes as a file reader does, and counts how many it handed out.
ReadMore readerOf(std::string_view text, std::size_t* handedOut = nullptr)
{
    auto at = std::make_shared<std::size_t>(0);
    return [text, at, handedOut](char* data, std::size_t size) -> Result<std::size_t> {
        const std::size_t n = std::min(size, text.size() - *at);
        std::copy_n(text.data() + *at, n, data);
        *at += n;
        if (handedOut) *handedOut = *at;
        return n;
    };
}

TEST(RecipeView, TheRecordFoundIsTheOneTheStoreReads)
{
    // The viewer finds a record by searching for its name; whatever the file looks like, it
    // must come to the record the store's reading from the top comes to.
    auto tagged = [](std::string_view name, std::string_view ingredient, std::string_view end) {
        std::string out;
        for (std::string_view line :
             {std::string_view("[NAMN]"), name, std::string_view("[PORTIONER]"),
              std::string_view("2"), std::string_view("[TID]"), std::string_view("10"),
              std::string_view("[IND]"), ingredient, std::string_view("[G\xD6RA]"),
              std::string_view("Stir."), std::string_view("[TYP]"), std::string_view("Soups")}) {
            out += line;
            out += end;
        }
        return out;
    };
    const std::vector<std::string> files = {
        // The name first stands as an ingredient line, then as a name line.
        tagged("Soup", "Pie", "\r\n") + tagged("Pie", "Soup", "\r\n"),
        // Names inside other names and lines.
        tagged("Apple pie", "Pie crust", "\r\n") + tagged("Pie crust", "x", "\r\n") +
            tagged("Pie", "Apple pie", "\r\n"),
        // Lone CR and lone LF line ends, and a last line without one.
        tagged("Pie", "1 egg", "\r") + tagged("Soup", "Pie", "\n") + "[NAMN]\nTea",
        // A run of "[NAMN]" lines: tag, name "[NAMN]", tag, name.
        "[NAMN]\r\n[NAMN]\r\n[NAMN]\r\nPie\r\n[PORTIONER]\r\n4\r\n" + tagged("Soup", "Pie", "\r\n"),
        // An even run: the second "[NAMN]" is a name line, so "Pie" after it is not.
        "[NAMN]\r\n[NAMN]\r\nPie\r\n" + tagged("Pie", "2 eggs", "\r\n"),
        // A name on the first line is no name line.
        "Pie\r\n" + tagged("Soup", "Pie", "\r\n"),
        // A line that only begins with the tag.
        tagged("Pie", "[NAMN] crust", "\r\n") + tagged("Soup", "Pie", "\r\n"),
        // A lone "[NAMN]" at the end, and an empty name line.
        tagged("", "1 egg", "\r\n") + tagged("Pie", "", "\r\n") + "[NAMN]\r\n",
    };
    for (const std::string& file : files) {
        for (std::string_view name : {"Pie", "Soup", "Apple pie", "Pie crust", "Tea", "[NAMN]", "",
                                      "Stir.", "1 egg", "Pie\r\n"}) {
            const auto record = store::parseRecord(file, name);
            const RecipeTexts texts = viewerPage(file, name).texts;
            ASSERT_EQ(texts.found, record.has_value()) << name << " in " << file;
            if (record) expectSameTexts(texts, recipeTexts(*record), file);
            // Read piece by piece, however the pieces cut the lines, the page is the same; a
            // name the search cannot find is left to a reading of the whole file.
            for (std::size_t piece : {1, 2, 3, 7, 64, 4096}) {
                auto pieces = viewerPageFromPieces(readerOf(file), name, piece);
                ASSERT_TRUE(pieces);
                const bool searchable = !name.empty() && name != "[NAMN]" && !name.ends_with('\n');
                ASSERT_EQ(pieces->has_value(), searchable) << name << " in " << file;
                if (*pieces) expectSameTexts((*pieces)->texts, texts, file);
            }
        }
    }
    EXPECT_EQ(viewerPage(files[0], "Pie").texts.ingredients, "Soup\r\n");
    EXPECT_EQ(viewerPage(files[3], "Pie").texts.servings, "(Serves 4)");
    EXPECT_EQ(viewerPage(files[4], "Pie").texts.ingredients, "2 eggs\r\n");
}

TEST(RecipeView, ALargeCookbookIsReadPieceByPieceUpToTheRecord)
{
    std::string book;
    for (int i = 0; i < 3000; ++i) {
        book += record({.name = "Stew no. " + std::to_string(i),
                        .servings = std::to_string(i),
                        .time = "60",
                        .ingredients = {"beef", "Stew no. " + std::to_string(i + 1)},
                        .steps = {"Simmer."},
                        .type = "Stews"});
    }
    for (std::string_view name :
         {"Stew no. 0", "Stew no. 1500", "Stew no. 2999", "Stew no. 3000", "Stew no. 15"}) {
        const ViewerPage whole = viewerPage(book, name);
        for (std::size_t piece : {1000, 4096, 1024 * 1024}) {
            std::size_t handedOut = 0;
            auto pieces = viewerPageFromPieces(readerOf(book, &handedOut), name, piece);
            ASSERT_TRUE(pieces && *pieces) << name;
            expectSameTexts((*pieces)->texts, whole.texts, name);
            // Reading stops within a piece of the next record's tag.
            const auto found = book.find("[NAMN]\r\n" + std::string(name) + "\r\n");
            if (found != std::string::npos) {
                const auto next = book.find("[NAMN]", found + 1);
                EXPECT_LE(handedOut, next == std::string::npos ? book.size() : next + 6 + piece)
                    << name;
            }
        }
    }
    EXPECT_EQ(viewerPage(book, "Stew no. 1500").texts.servings, "(Serves 1500)");

    // A name after more "[NAMN]" lines than the pieces keep in view cannot be settled piece by
    // piece; the page then comes from the whole file.
    std::string tags;
    for (int i = 0; i < 12000; ++i) tags += "[NAMN]\r\n";
    const std::string odd = tags + "[NAMN]\r\nPie\r\n[PORTIONER]\r\n2\r\n";
    auto unsure = viewerPageFromPieces(readerOf(odd), "Pie", 4096);
    ASSERT_TRUE(unsure);
    EXPECT_FALSE(*unsure);
    TempDir dir;
    ProgramFolder folder(dir.path());
    dir.write("BOOK1.TXT", odd);
    EXPECT_EQ(readViewerPage(folder, "BOOK1.TXT", "Pie")->texts.servings, "(Serves 2)");
    dir.write("BOOK1.TXT", tags + "Pie\r\n[PORTIONER]\r\n2\r\n");
    EXPECT_FALSE(readViewerPage(folder, "BOOK1.TXT", "Pie")->texts.found);

    // A failing read is the page's failure.
    auto broken = viewerPageFromPieces(
        [](char*, std::size_t) -> Result<std::size_t> { return fail(ErrorCode::Io, "Disk gone."); },
        "Pie");
    ASSERT_FALSE(broken);
    EXPECT_EQ(broken.error().message, "Disk gone.");
}

TEST(RecipeView, ReadsTheCookbookAndTheNeighboursFromTheFile)
{
    TempDir dir;
    ProgramFolder folder(dir.path());
    dir.write("BOOK1.TXT", kApple + kPancakes + kWaffles);
    auto page = readViewerPage(folder, "BOOK1.TXT", "Waffles");
    ASSERT_TRUE(page) << page.error().message;
    EXPECT_EQ(page->texts.servings, "(Serves 6)");
    // Back and Forward read the names when clicked: W with V, Ä after Z, and round again.
    EXPECT_EQ(readNeighbour(folder, "BOOK1.TXT", "Waffles", Step::Forward).value(), "\xC4ppelkaka");
    EXPECT_EQ(readNeighbour(folder, "BOOK1.TXT", "\xC4ppelkaka", Step::Forward).value(),
              "Pancakes");
    EXPECT_EQ(readNeighbour(folder, "BOOK1.TXT", "Pancakes", Step::Back).value(), "\xC4ppelkaka");
    // A recipe added after the page was read is reached all the same.
    dir.write("BOOK1.TXT", kApple + kPancakes + kWaffles +
                               record({.name = "Scones",
                                       .servings = "1",
                                       .time = "1",
                                       .ingredients = {},
                                       .steps = {},
                                       .type = "Buns"}));
    EXPECT_EQ(readNeighbour(folder, "BOOK1.TXT", "Pancakes", Step::Forward).value(), "Scones");
    // A missing cookbook has no neighbours.
    EXPECT_EQ(readNeighbour(folder, "BOOK9.TXT", "Waffles", Step::Forward).value(), std::nullopt);

    auto missing = readViewerPage(folder, "BOOK9.TXT", "Waffles");
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().code, ErrorCode::NotFound);
    EXPECT_EQ(missing.error().message, "The cookbook file \"BOOK9.TXT\" could not be found.");
}

TEST(RecipeView, BackAndForwardWrapAround)
{
    const std::vector<std::string> order{"Apple pie", "Buns", "Crumble"};
    struct Case {
        std::string current;
        Step step;
        std::optional<std::string> expected;
    };
    for (const auto& c : std::vector<Case>{
             {"Apple pie", Step::Forward, "Buns"},
             {"Crumble", Step::Forward, "Apple pie"},
             {"Apple pie", Step::Back, "Crumble"},
             {"Buns", Step::Back, "Apple pie"},
             // A recipe that is gone: Forward starts at the first, Back at the last.
             {"Bread", Step::Forward, "Apple pie"},
             {"Bread", Step::Back, "Crumble"},
         }) {
        EXPECT_EQ(neighbour(order, c.current, c.step), c.expected)
            << c.current << (c.step == Step::Forward ? " forward" : " back");
    }
    EXPECT_EQ(neighbour({}, "Buns", Step::Forward), std::nullopt);
    const std::vector<std::string> one{"Buns"};
    EXPECT_EQ(neighbour(one, "Buns", Step::Back), "Buns");

    // The names come in the cookbook's own order; the neighbours are those of the program's
    // order all the same, for every name and in both directions.
    const std::vector<std::string> fileOrder{"Waffles", "\xC4ppelkaka", "apple", "Vanilla", "Apple",
                                             "2 eggs",  "Buns",         "Buns",  "Zest"};
    const std::vector<std::string> sorted = store::sortedNames(fileOrder);
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        for (Step step : {Step::Forward, Step::Back}) {
            std::size_t at = i;
            do {
                at = (at + (step == Step::Forward ? 1 : sorted.size() - 1)) % sorted.size();
            } while (sorted[at] == sorted[i]);
            EXPECT_EQ(neighbour(fileOrder, sorted[i], step), sorted[at])
                << sorted[i] << (step == Step::Forward ? " forward" : " back");
        }
    }
    EXPECT_EQ(neighbour(fileOrder, "Bread", Step::Forward), "2 eggs");
    EXPECT_EQ(neighbour(fileOrder, "Bread", Step::Back), "\xC4ppelkaka");
}

TEST(RecipeView, BackAndForwardPassOverATwiceUsedName)
{
    const std::vector<std::string> order{"Buns", "Buns", "Crumble"};
    EXPECT_EQ(findEntry(order, "Buns"), 0);
    EXPECT_EQ(neighbour(order, "Buns", Step::Forward), "Crumble");
    EXPECT_EQ(neighbour(order, "Crumble", Step::Forward), "Buns");
    EXPECT_EQ(neighbour(order, "Buns", Step::Back), "Crumble");
    const std::vector<std::string> same{"Buns", "Buns"};
    EXPECT_EQ(neighbour(same, "Buns", Step::Forward), "Buns");
}

TEST(RecipeView, ScrollReachesTheLastLineOfAnyLabel)
{
    // 100 lines of 276 twips in a frame of 4000: 23600 hidden twips, one line or one frame a
    // click.
    const auto range = ingredientScrollRange(27600, 4000, 276);
    EXPECT_EQ(range.maximum, 2360);
    EXPECT_EQ(range.singleStep, 27);
    EXPECT_EQ(range.pageStep, 400);
    EXPECT_EQ(ingredientScrollRange(3000, 4000, 276).maximum, 0);
    // 60 lines zoomed three times: far past what 16 bits reach, and still all of it.
    const int zoomed = 29 * 61 * 8 * 10;
    const auto far = ingredientScrollRange(zoomed, 4000, 552);
    EXPECT_GT(far.maximum, 3276);
    EXPECT_LE(-ingredientTop(far.maximum) + 4000, zoomed + 9);
    EXPECT_GE(-ingredientTop(far.maximum) + 4000, zoomed);

    EXPECT_EQ(ingredientTop(0), 0);
    EXPECT_EQ(ingredientTop(29), -290);
    EXPECT_EQ(ingredientTop(5000), -50000);
    EXPECT_EQ(ingredientTop(-3), 0);
}

TEST(RecipeView, ATimeThatNamesItsUnitGetsNoSecondMin)
{
    for (const auto& [time, shown] : std::vector<std::pair<std::string, std::string>>{
             {"25", "Time to cook: 25 min"},
             {"25 min", "Time to cook: 25 min"},
             {"25min", "Time to cook: 25min"},
             {"25 MIN. ", "Time to cook: 25 MIN. "},
             {"45 minutes", "Time to cook: 45 minutes"},
             {"1 h", "Time to cook: 1 h"},
             {"1-2 hours", "Time to cook: 1-2 hours"},
             {"2 timmar", "Time to cook: 2 timmar"},
             {"ca 30", "Time to cook: ca 30 min"},
             // A word that is no unit, or a unit that is part of another word, is no unit.
             {"20 ca", "Time to cook: 20 ca min"},
             {"Jasmin", "Time to cook: Jasmin min"},
             {"0", "Time to cook: 0 min"},
             {"", "Time to cook:  min"},
         }) {
        EXPECT_EQ(timeText(time), shown) << time;
    }
    // The viewer's label is made by the same rule.
    RecipeRecord record{"Stew", "4", "90 min", "", "", "Hot dish"};
    EXPECT_EQ(recipeTexts(record).time, "Time to cook: 90 min");
}

TEST(RecipeView, BackAndForwardReachEveryRecordOfATwiceUsedName)
{
    using store::RecordKey;
    // In the program's order: Apple, the three Pancakes in file order, Zest.
    const std::vector<std::string> names{"Pancakes", "Zest", "Apple", "Pancakes", "Pancakes"};
    const std::vector<RecordRef> order{
        {"Apple", 0}, {"Pancakes", 0}, {"Pancakes", 1}, {"Pancakes", 2}, {"Zest", 0}};
    for (std::size_t i = 0; i < order.size(); ++i) {
        const RecordKey key = order[i].key();
        EXPECT_EQ(neighbour(names, key, Step::Forward), order[(i + 1) % order.size()])
            << key.name << " " << key.occurrence;
        EXPECT_EQ(neighbour(names, key, Step::Back), order[(i + order.size() - 1) % order.size()])
            << key.name << " " << key.occurrence;
    }
    // A record past the last of its name stands right after them; a name gone leads to the
    // ends, as a name alone does.
    EXPECT_EQ(neighbour(names, RecordKey{"Pancakes", 5}, Step::Forward), (RecordRef{"Zest", 0}));
    EXPECT_EQ(neighbour(names, RecordKey{"Pancakes", 5}, Step::Back), (RecordRef{"Pancakes", 2}));
    EXPECT_EQ(neighbour(names, RecordKey{"Bread", 0}, Step::Forward), (RecordRef{"Apple", 0}));
    EXPECT_EQ(neighbour(names, RecordKey{"Bread", 0}, Step::Back), (RecordRef{"Zest", 0}));
    // One name twice and nothing else: round and round between the two.
    const std::vector<std::string> same{"Buns", "Buns"};
    EXPECT_EQ(neighbour(same, RecordKey{"Buns", 1}, Step::Forward), (RecordRef{"Buns", 0}));
    EXPECT_EQ(neighbour(same, RecordKey{"Buns", 0}, Step::Back), (RecordRef{"Buns", 1}));
    EXPECT_EQ(neighbour({}, RecordKey{"Buns", 0}, Step::Back), std::nullopt);
}

TEST(RecipeView, TheSecondRecipeOfANameIsReadFromTheFile)
{
    TempDir dir;
    const ProgramFolder folder(dir.path());
    std::string second = kPancakes;
    second.replace(second.find("[PORTIONER]\r\n4"), 14, "[PORTIONER]\r\n2");
    dir.write("BOOK1.TXT", kPancakes + kWaffles + second);
    auto first = readViewerPage(folder, "BOOK1.TXT", store::RecordKey{"Pancakes", 0});
    auto other = readViewerPage(folder, "BOOK1.TXT", store::RecordKey{"Pancakes", 1});
    auto none = readViewerPage(folder, "BOOK1.TXT", store::RecordKey{"Pancakes", 2});
    ASSERT_TRUE(first && other && none);
    EXPECT_EQ(first->texts.servings, "(Serves 4)");
    EXPECT_EQ(other->texts.servings, "(Serves 2)");
    EXPECT_FALSE(none->texts.found);
    EXPECT_EQ(readNeighbour(folder, "BOOK1.TXT", store::RecordKey{"Pancakes", 0}, Step::Forward)
                  .value(),
              (RecordRef{"Pancakes", 1}));
}

}  // namespace
