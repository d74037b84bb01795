#include <gtest/gtest.h>

#include "core/recipes/recipe_edit.h"
#include "core/store/cookbook.h"
#include "core/store/record_check.h"
#include "support/records.h"
#include "support/temp_dir.h"

using namespace culvora;
using namespace culvora::recipes;
using culvora::testing::crlf;
using culvora::testing::record;
using culvora::testing::TempDir;

namespace {

const std::string kSoup = record({.name = "Soup",
                                  .servings = "4",
                                  .time = "30",
                                  .ingredients = {"1 l water", "2 carrots"},
                                  .steps = {"Boil.", "", "Serve."},
                                  .type = "Hot dish"});
const std::string kBare = record({.name = "Bare",
                                  .servings = "1",
                                  .time = "0",
                                  .ingredients = {},
                                  .steps = {},
                                  .type = "Accessories"});
const std::string kBlank = record({.name = "Blank",
                                   .servings = "2",
                                   .time = "5",
                                   .ingredients = {""},
                                   .steps = {""},
                                   .type = "Desserts"});
// Lines after the type line, before the next record.
const std::string kTail = record({.name = "Tail",
                                  .servings = "2",
                                  .time = "5",
                                  .ingredients = {"egg"},
                                  .steps = {"Fry."},
                                  .type = "Desserts"}) +
                          crlf({"a stray line", ""});

TEST(RecipeEdit, OpeningAndSavingUnchangedLeavesTheCookbookByteIdentical)
{
    // First, middle and last record; fields with no lines, with one empty line, with empty
    // lines inside.
    TempDir dir;
    ProgramFolder folder(dir.path());
    const std::string book = kSoup + kBare + kBlank;
    dir.write("BOOK1.TXT", book);
    for (const char* name : {"Soup", "Bare", "Blank"}) {
        auto loaded = loadForEdit(folder, "BOOK1.TXT", name);
        ASSERT_TRUE(loaded) << loaded.error().message;
        ASSERT_TRUE(saveEdit(folder, "BOOK1.TXT", name, draftOf(*loaded), *loaded)) << name;
        EXPECT_EQ(dir.read("BOOK1.TXT"), book) << name;
        // Again, as a second save after the first would.
        ASSERT_TRUE(saveEdit(folder, "BOOK1.TXT", name, draftOf(*loaded), *loaded));
        EXPECT_EQ(dir.read("BOOK1.TXT"), book) << name;
    }
}

TEST(RecipeEdit, TheBoxesShowTheLinesWithoutAFinalLineEnd)
{
    auto soup = store::parseRecordForEdit(kSoup, "Soup");
    ASSERT_TRUE(soup);
    const RecipeDraft draft = draftOf(*soup);
    EXPECT_EQ(draft.ingredients, "1 l water\r\n2 carrots");
    EXPECT_EQ(draft.instructions, "Boil.\r\n\r\nServe.");
    EXPECT_EQ(draft.type, "Hot dish");
    // A stray line after the type joins the instructions, where a save keeps it.
    auto tail = store::parseRecordForEdit(kTail, "Tail");
    ASSERT_TRUE(tail);
    EXPECT_EQ(tail->instructions, "Fry.\r\na stray line\r\n\r\n");
    EXPECT_EQ(tail->type, "Desserts");
}

TEST(RecipeEdit, ChangedTextsAreWrittenAsTheBoxHoldsThem)
{
    TempDir dir;
    ProgramFolder folder(dir.path());
    dir.write("BOOK1.TXT", kSoup + kBare + kBlank);
    struct Case {
        const char* name;
        std::string ingredients;  // what the user leaves in the box
        std::string expected;     // the section between [IND] and [GÖRA]
    };
    const Case cases[] = {
        {"Bare", "3 eggs\n1 dl milk", "3 eggs\r\n1 dl milk\r\n"},
        {"Blank", "", "\r\n"},                  // unchanged: the empty line stays
        {"Soup", "1 l water\n", "1 l water\r\n\r\n"},  // Enter at the end: an empty last line
    };
    for (const auto& c : cases) {
        auto loaded = loadForEdit(folder, "BOOK1.TXT", c.name);
        ASSERT_TRUE(loaded);
        RecipeDraft draft = draftOf(*loaded);
        draft.ingredients = c.ingredients;
        draft.servings = "6";
        ASSERT_TRUE(saveEdit(folder, "BOOK1.TXT", c.name, draft, *loaded)) << c.name;
        auto saved = store::parseRecord(dir.read("BOOK1.TXT"), c.name);
        ASSERT_TRUE(saved);
        EXPECT_EQ(saved->ingredients, c.expected) << c.name;
        EXPECT_EQ(saved->servings, "6");
    }
    EXPECT_EQ(store::listNames(dir.read("BOOK1.TXT")),
              (std::vector<std::string>{"Soup", "Bare", "Blank"}));
}

TEST(RecipeEdit, TextTheFormatCannotHoldIsRefusedAndNothingWritten)
{
    TempDir dir;
    ProgramFolder folder(dir.path());
    const std::string book = kSoup + kBare;
    dir.write("BOOK1.TXT", book);
    auto loaded = loadForEdit(folder, "BOOK1.TXT", "Soup");
    ASSERT_TRUE(loaded);
    struct Case {
        RecipeDraft change;
        const char* mentions;
    };
    const RecipeDraft base = draftOf(*loaded);
    auto with = [&](auto set) {
        RecipeDraft d = base;
        set(d);
        return d;
    };
    const Case cases[] = {
        {with([](RecipeDraft& d) { d.ingredients = "salt\r\n[NAMN]\r\npepper"; }), "[NAMN]"},
        {with([](RecipeDraft& d) { d.ingredients = "[GÖRA] too early"; }), "begins with"},
        {with([](RecipeDraft& d) { d.ingredients = "[optional] parsley"; }), "begins with"},
        {with([](RecipeDraft& d) { d.instructions = "Stir.\n[TYP]\nServe."; }), "[TYP]"},
        {with([](RecipeDraft& d) { d.instructions = "[PORTIONER]"; }), "[PORTIONER]"},
        {with([](RecipeDraft& d) { d.servings = "4\r\n[NAMN]"; }), "one line"},
        {with([](RecipeDraft& d) { d.cookingTime = "[TID]"; }), "cooking time"},
        {with([](RecipeDraft& d) { d.type = "Hot\ndish"; }), "type"},
    };
    for (const auto& c : cases) {
        auto saved = saveEdit(folder, "BOOK1.TXT", "Soup", c.change, *loaded);
        ASSERT_FALSE(saved) << c.mentions;
        EXPECT_EQ(saved.error().code, ErrorCode::Invalid);
        EXPECT_NE(saved.error().message.find(c.mentions), std::string::npos)
            << saved.error().message;
        EXPECT_EQ(dir.read("BOOK1.TXT"), book);
    }
    // A new recipe: the name is required and must be one line; blanks are a name.
    RecipeDraft fresh{"", "2", "10", "egg", "Boil.", "Desserts"};
    EXPECT_EQ(saveNew(folder, "BOOK1.TXT", fresh).error().message,
              "You must enter a name for the recipe!");
    fresh.name = "Egg\nNog";
    EXPECT_FALSE(saveNew(folder, "BOOK1.TXT", fresh));
    fresh.name = "[NAMN]";
    EXPECT_FALSE(saveNew(folder, "BOOK1.TXT", fresh));
    // A name longer than a name may be, and a control character anywhere, as every new recipe.
    fresh.name = std::string(store::kMaxRecipeNameChars + 1, 'a');
    EXPECT_NE(saveNew(folder, "BOOK1.TXT", fresh).error().message.find("more than the 200"),
              std::string::npos);
    fresh.name = "Egg";
    fresh.instructions = "Boil.\x1B[2J";
    EXPECT_NE(saveNew(folder, "BOOK1.TXT", fresh).error().message.find("0x1B"), std::string::npos);
    fresh.instructions = "Boil.";
    EXPECT_EQ(dir.read("BOOK1.TXT"), book);
    fresh.name = std::string(store::kMaxRecipeNameChars, 'a');
    ASSERT_TRUE(saveNew(folder, "BOOK1.TXT", fresh));
    dir.write("BOOK1.TXT", book);
    fresh.name = "   ";
    ASSERT_TRUE(saveNew(folder, "BOOK1.TXT", fresh));
    EXPECT_EQ(store::listNames(dir.read("BOOK1.TXT")).back(), "   ");
}

TEST(RecipeEdit, ANewRecipeIsAppendedAsTyped)
{
    TempDir dir;
    ProgramFolder folder(dir.path());
    dir.write("BOOK1.TXT", kSoup + "[NAMN]\r\n");
    // An ingredient text that ends with Enter leaves an empty line before [GÖRA]; the lone
    // tag at the end is reused; a second recipe of an existing name is added all the same.
    ASSERT_TRUE(saveNew(folder, "BOOK1.TXT", {"Soup", "2", "15", "egg\nmilk\n", "Whisk.", "Desserts"}));
    EXPECT_EQ(dir.read("BOOK1.TXT"), kSoup + record({.name = "Soup",
                                                     .servings = "2",
                                                     .time = "15",
                                                     .ingredients = {"egg", "milk", ""},
                                                     .steps = {"Whisk."},
                                                     .type = "Desserts"}));
}

TEST(RecipeEdit, ARecipeThatIsGoneIsSaidSoAndNothingWritten)
{
    TempDir dir;
    ProgramFolder folder(dir.path());
    dir.write("BOOK1.TXT", kSoup + kBare);
    auto loaded = loadForEdit(folder, "BOOK1.TXT", "Bare");
    ASSERT_TRUE(loaded);
    // Deleted in the browser while the editor was open.
    dir.write("BOOK1.TXT", kSoup);
    auto saved = saveEdit(folder, "BOOK1.TXT", "Bare", draftOf(*loaded), *loaded);
    ASSERT_FALSE(saved);
    EXPECT_EQ(saved.error().code, ErrorCode::NotFound);
    EXPECT_NE(saved.error().message.find("not in the cookbook any more"), std::string::npos);
    EXPECT_EQ(dir.read("BOOK1.TXT"), kSoup);
    // A name that is not there cannot be loaded, and an ingredient line that reads like it
    // is not taken for it.
    dir.write("BOOK1.TXT", kSoup + record({.name = "Stew",
                                           .servings = "2",
                                           .time = "9",
                                           .ingredients = {"Bare"},
                                           .steps = {},
                                           .type = "X"}));
    EXPECT_FALSE(loadForEdit(folder, "BOOK1.TXT", "Bare"));
    EXPECT_FALSE(loadForEdit(folder, "GONE.TXT", "Soup"));
}

}  // namespace
