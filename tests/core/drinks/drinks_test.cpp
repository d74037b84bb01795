#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "core/drinks/drinks.h"
#include "support/temp_dir.h"

using namespace culvora;
using namespace culvora::drinks;
using culvora::testing::crlf;
using culvora::testing::TempDir;

namespace {

std::string drink(const std::string& name, std::initializer_list<std::string_view> ingredients,
                  std::initializer_list<std::string_view> instructions, const std::string& glass)
{
    std::string out = crlf({"[NAMN]", name});
    for (auto line : ingredients) out += std::string(line) + "\r\n";
    out += "[G\xD6RA]\r\n";
    for (auto line : instructions) out += std::string(line) + "\r\n";
    return out + crlf({"[GLAS]", glass});
}

const std::string kMojito = drink("Mojito", {"mint", "rum"}, {"Muddle.", "Top up."}, "Highball");
const std::string kIrish =
    drink("Irish Coffee", {"whiskey", "coffee"}, {"Float cream."}, "Coffeecup");
const std::string kLemonade = drink("Lemonade", {}, {}, "(Inget)");
const std::string kSour = drink("Sour", {"whiskey"}, {"Shake."}, "Sour");

TEST(Drinks, GlassSpellingsThatMeanTheSameGlass)
{
    EXPECT_EQ(glassIndex("Coffecup"), 5);
    EXPECT_EQ(glassIndex("Coffeecup"), 5);
    EXPECT_EQ(glassIndex("(Unknown)"), 0);
    EXPECT_EQ(glassIndex("(Inget)"), 0);
    EXPECT_EQ(glassIndex("Wine"), 14);
    EXPECT_EQ(glassIndex("wine"), -1);
    EXPECT_EQ(glassIndex(""), -1);
    EXPECT_EQ(glassPicture(glassIndex("Coffeecup")), "Coffecup.bmp");
    EXPECT_EQ(glassPicture(0), "inget.bmp");
    EXPECT_EQ(glassPicture(-1), "");
}

TEST(Drinks, ListingWithAndWithoutTheGlassFilter)
{
    const std::string file = kMojito + kIrish + kLemonade + kSour;
    EXPECT_EQ(listDrinks(file).names,
              (std::vector<std::string>{"Mojito", "Irish Coffee", "Lemonade", "Sour"}));
    EXPECT_FALSE(listDrinks(file).endsWithLoneTag);
    EXPECT_TRUE(listDrinks(file + "[NAMN]\r\n").endsWithLoneTag);
    EXPECT_TRUE(listDrinks("").names.empty());

    GlassFilter filter;
    EXPECT_EQ(listDrinks(file, &filter).names.size(), 4u);  // "No filter"
    filter.toggle(5);                                       // Coffecup
    EXPECT_EQ(listDrinks(file, &filter).names, std::vector<std::string>{"Irish Coffee"});
    filter.toggle(8);  // and Highball
    EXPECT_EQ(listDrinks(file, &filter).names,
              (std::vector<std::string>{"Mojito", "Irish Coffee"}));
    filter.toggle(0);  // (Unknown) takes "(Inget)" too
    EXPECT_EQ(listDrinks(file, &filter).names.size(), 3u);
    GlassFilter only;
    only.toggle(13);
    only.toggle(13);  // the only glass unticked: none
    EXPECT_TRUE(listDrinks(file, &only).names.empty());
    // A record without its glass line is not listed by a filter, and the next one still is.
    const std::string cut = crlf({"[NAMN]", "Broken", "ice"}) + kSour;
    GlassFilter sour;
    sour.toggle(13);
    EXPECT_EQ(listDrinks(cut, &sour).names, std::vector<std::string>{"Sour"});
    // A "[NAMN]" where the glass belongs starts the next drink for the filter too.
    const std::string noGlass =
        crlf({"[NAMN]", "Broken", "ice", "[G\xD6RA]", "Stir.", "[GLAS]"}) + kSour;
    EXPECT_EQ(listDrinks(noGlass).names, (std::vector<std::string>{"Broken", "Sour"}));
    EXPECT_EQ(listDrinks(noGlass, &sour).names, std::vector<std::string>{"Sour"});
}

TEST(Drinks, ReadingTakesTheFirstNameLine)
{
    // "Sour" is an ingredient line of the first drink here: only name lines count.
    const std::string file = drink("Punch", {"Sour", "[Garnish] lemon"}, {"Mix."}, "Punch") + kSour;
    auto sour = readDrink(file, "Sour");
    ASSERT_TRUE(sour);
    EXPECT_EQ(sour->ingredients, "whiskey\r\n");
    EXPECT_EQ(sour->instructions, "Shake.\r\n");
    EXPECT_EQ(sour->glass, "Sour");
    // An ingredient line beginning with "[G" ends the ingredients early.
    auto punch = readDrink(file, "Punch");
    ASSERT_TRUE(punch);
    EXPECT_EQ(punch->ingredients, "Sour\r\n");
    // What followed it, the real "[GÖRA]" line included, is read as instructions.
    EXPECT_EQ(punch->instructions, "[G\xD6RA]\r\nMix.\r\n");
    EXPECT_FALSE(readDrink(file, "Mojito"));
    // A record cut short keeps what it has and never reads into the next one.
    auto cut = readDrink(crlf({"[NAMN]", "Cut", "ice"}) + kSour, "Cut");
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->ingredients, "ice\r\n");
    EXPECT_EQ(cut->glass, "");
    // Without its "[GÖRA]" line a drink has no instructions, and "[GLAS]" still gives its
    // glass: to the viewer and to the glass filter alike.
    const std::string noInstructions = crlf({"[NAMN]", "Lemonade", "lemons", "[GLAS]", "Highball"});
    EXPECT_EQ(readDrink(noInstructions, "Lemonade"),
              (Drink{"Lemonade", "lemons\r\n", "", "Highball"}));
    GlassFilter highball;
    highball.toggle(8);
    EXPECT_EQ(listDrinks(noInstructions, &highball).names, std::vector<std::string>{"Lemonade"});
}

TEST(Drinks, AppendingDeletingAndReplacing)
{
    // Append to an empty file and after a lone tag; empty boxes give one empty line each.
    const std::string first = withAppendedDrink("", "Lemonade", "", "", "(Unknown)");
    EXPECT_EQ(first, crlf({"[NAMN]", "Lemonade", "", "[G\xD6RA]", "", "[GLAS]", "(Unknown)"}));
    EXPECT_EQ(withAppendedDrink(kMojito + "[NAMN]\r\n", "Sour", "whiskey", "Shake.", "Sour"),
              kMojito + kSour);

    const std::string three = kMojito + kIrish + kSour;
    EXPECT_EQ(*withDeletedDrink(three, "Mojito"), kIrish + kSour);
    EXPECT_EQ(*withDeletedDrink(three, "Irish Coffee"), kMojito + kSour);
    EXPECT_EQ(*withDeletedDrink(three, "Sour"), kMojito + kIrish + "[NAMN]\r\n");
    EXPECT_FALSE(withDeletedDrink(three, "Gone"));
    // Two of one name: the first is acted on.
    const std::string twice = kSour + drink("Sour", {"gin"}, {"Stir."}, "Cocktail");
    EXPECT_EQ(*withDeletedDrink(twice, "Sour"), drink("Sour", {"gin"}, {"Stir."}, "Cocktail"));
    const Drink body{"Sour", "rye\r\n", "", "Oldfashioned"};
    EXPECT_EQ(*withReplacedBody(twice, "Sour", body),
              crlf({"[NAMN]", "Sour", "rye", "[G\xD6RA]", "[GLAS]", "Oldfashioned"}) +
                  drink("Sour", {"gin"}, {"Stir."}, "Cocktail"));
}

TEST(Drinks, TheDataFolderFile)
{
    TempDir dir;
    ProgramFolder folder(dir.path());
    // Missing: empty; the first save creates it.
    EXPECT_EQ(readDrinksFile(folder).value(), "");
    ASSERT_TRUE(appendDrink(folder, "Sour", "whiskey", "Shake.", "Sour"));
    ASSERT_TRUE(
        appendDrink(folder, "Irish Coffee", "whiskey\ncoffee", "Float cream.", "Coffeecup"));
    const std::string saved = dir.read("drinkar.txt");
    // An unchanged edit leaves the file byte for byte, whatever the glass's spelling.
    for (const char* name : {"Sour", "Irish Coffee"}) {
        auto loaded = loadDrink(folder, name);
        ASSERT_TRUE(loaded);
        ASSERT_TRUE(saveEditedDrink(
            folder, *loaded, loaded->ingredients.substr(0, loaded->ingredients.size() - 2),
            loaded->instructions.substr(0, loaded->instructions.size() - 2), loaded->glass));
        EXPECT_EQ(dir.read("drinkar.txt"), saved) << name;
    }
    // Refused, nothing written.
    struct Case {
        std::string name, ingredients, instructions, glass;
    };
    const Case refused[] = {
        {"", "ice", "", "Wine"},
        {"Two\nlines", "", "", "Wine"},
        {"Punch", "[NAMN]", "", "Wine"},
        {"Punch", "ice\n[Garnish] lemon", "", "Wine"},
        {"Punch", "", "Stir.\n[GLAS]", "Wine"},
        {"Punch", "", "", "[GLAS]"},
    };
    for (const auto& c : refused) {
        EXPECT_FALSE(appendDrink(folder, c.name, c.ingredients, c.instructions, c.glass)) << c.name;
    }
    EXPECT_EQ(appendDrink(folder, "", "", "", "Wine").error().message,
              "Du måste döpa drinken till något innan Du sparar");
    EXPECT_EQ(dir.read("drinkar.txt"), saved);
    EXPECT_EQ(deleteDrink(folder, "Gone", {}).error().code, ErrorCode::NotFound);
    ASSERT_TRUE(deleteDrink(folder, "Sour", {}));
    EXPECT_EQ(listDrinks(dir.read("drinkar.txt")).names, std::vector<std::string>{"Irish Coffee"});
    EXPECT_FALSE(dir.exists("drinkar.tmp"));
}

TEST(Drinks, TypedTextIsRefusedInTheWordsOfTheDrinksFile)
{
    // "1½ cl" as typed (UTF-8) is the file's one byte for ½.
    EXPECT_EQ(drinkText("1\xC2\xBD cl").value(), "1\xBD cl");
    const auto arrow = drinkText("Punch \xE2\x86\x92 bowl");
    ASSERT_FALSE(arrow);
    EXPECT_EQ(arrow.error().code, ErrorCode::Invalid);
    EXPECT_EQ(arrow.error().message,
              "The character \"\xE2\x86\x92\" (U+2192) cannot be stored: the drinks file holds "
              "Western European letters and signs only (Windows-1252).");
    // Refusals that name no file stay as they are.
    const auto control = drinkText(std::string{'a', '\x1B', 'b'});
    ASSERT_FALSE(control);
    EXPECT_EQ(control.error().message.find("drinks file"), std::string::npos);
    EXPECT_NE(control.error().message.find("U+001B"), std::string::npos);
}

TEST(Drinks, TheDeliveredDrinksUseEveryGlass)
{
    const char* source = std::getenv("CULVORA_SOURCE_DIR");
    ASSERT_NE(source, nullptr);
    const auto file =
        culvora::testing::readBytes(std::filesystem::path(source) / "data" / "drinkar.txt");
    const auto names = listDrinks(file).names;
    EXPECT_GE(names.size(), 20u);
    std::vector<bool> used(GlassFilter::kGlassCount);
    for (const auto& name : names) {
        auto d = readDrink(file, name);
        ASSERT_TRUE(d) << name;
        ASSERT_GE(glassIndex(d->glass), 0) << name;
        used[static_cast<std::size_t>(glassIndex(d->glass))] = true;
        EXPECT_FALSE(d->ingredients.empty()) << name;
    }
    for (int i = 0; i < GlassFilter::kGlassCount; ++i)
        EXPECT_TRUE(used[static_cast<std::size_t>(i)]) << i;
}

}  // namespace
