#include "core/store/recipe_types.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace culvora::store {
namespace {

using testing::crlf;
using testing::TempDir;

const std::vector<std::string> kOriginalsSorted{"Accessories", "Desserts", "First Course",
                                                "Hot dish", "Imported"};

TEST(RecipeTypes, OriginalTypesAreExact)
{
    for (auto name : {"Imported", "Accessories", "Hot dish", "Desserts", "First Course"}) {
        EXPECT_TRUE(isOriginalType(name)) << name;
    }
    for (auto name : {"desserts", "DESSERTS", "Desserts ", "Hot Dish", "Import", ""}) {
        EXPECT_FALSE(isOriginalType(name)) << name;
    }
}

TEST(RecipeTypes, ParseKeepsFileOrderAndSkipsEmptyLines)
{
    EXPECT_TRUE(parseTypes("").empty());
    EXPECT_EQ(parseTypes("Soups\r\n\r\nBread\nFish"),
              (std::vector<std::string>{"Soups", "Bread", "Fish"}));
}

TEST(RecipeTypes, WrittenListIsSortedAndHoldsTheOriginals)
{
    struct Case {
        std::vector<std::string> in;
        std::vector<std::string> out;
    };
    for (const auto& c : std::vector<Case>{
             {{}, kOriginalsSorted},
             // A new name lands in its place; W sorts as V, Ö after Z.
             {{"\xD6l", "Imported", "Wok", "Soups", "Vilt"},
              {"Accessories", "Desserts", "First Course", "Hot dish", "Imported", "Soups", "Vilt",
               "Wok", "\xD6l"}},
             // Added twice, written twice; a user's "desserts" stands beside "Desserts".
             {{"Bread", "Bread", "desserts"},
              {"Accessories", "Bread", "Bread", "Desserts", "desserts", "First Course", "Hot dish",
               "Imported"}},
         }) {
        EXPECT_EQ(typesToWrite(c.in), c.out);
    }
    EXPECT_EQ(formatTypes({"Bread"}),
              "Accessories\r\nBread\r\nDesserts\r\nFirst Course\r\nHot dish\r\nImported\r\n");
}

TEST(RecipeTypes, MissingFileReadsEmptyAndWritingRestoresIt)
{
    TempDir dir;
    ProgramFolder folder(dir.path());
    auto types = readTypes(folder);
    ASSERT_TRUE(types);
    EXPECT_TRUE(types->empty());

    ASSERT_TRUE(writeTypes(folder, *types));
    EXPECT_EQ(dir.read("typer.txt"),
              crlf({"Accessories", "Desserts", "First Course", "Hot dish", "Imported"}));
    EXPECT_FALSE(dir.exists("typer.tmp"));
}

TEST(RecipeTypes, AddAndRemoveRewriteTheFile)
{
    TempDir dir;
    ProgramFolder folder(dir.path());
    dir.write("typer.txt", crlf({"Accessories", "Desserts", "First Course", "Hot dish", "Imported",
                                 "desserts"}));

    ASSERT_TRUE(addType(folder, "Bread"));
    EXPECT_EQ(dir.read("typer.txt"), crlf({"Accessories", "Bread", "Desserts", "desserts",
                                           "First Course", "Hot dish", "Imported"}));

    auto twice = addType(folder, "Bread");
    ASSERT_FALSE(twice);
    EXPECT_EQ(twice.error().message, "The type \"Bread\" already exists.");
    EXPECT_FALSE(addType(folder, "  "));
    EXPECT_FALSE(addType(folder, "Two\nlines"));

    auto original = removeType(folder, "Desserts");
    ASSERT_FALSE(original);
    EXPECT_EQ(original.error().code, ErrorCode::Refused);
    EXPECT_EQ(original.error().message, "Cannot delete the original types.");

    ASSERT_TRUE(removeType(folder, "desserts"));
    ASSERT_TRUE(removeType(folder, "Bread"));
    EXPECT_EQ(dir.read("typer.txt"),
              crlf({"Accessories", "Desserts", "First Course", "Hot dish", "Imported"}));

    auto missing = removeType(folder, "Bread");
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().code, ErrorCode::NotFound);
    EXPECT_EQ(missing.error().message, "There is no type called \"Bread\".");
}

}  // namespace
}  // namespace culvora::store
