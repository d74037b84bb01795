// Recipes read from web pages: the HTML tokenizer, the JSON-LD and microdata readers over
// small pages in the shapes recipe sites use, the durations and yields, the Windows-1252
// record, and reading a saved page.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/store/recipe_types.h"
#include "core/transfer/html_tokenizer.h"
#include "core/transfer/web_recipe.h"
#include "support/http_test_server.h"
#include "support/temp_dir.h"

using namespace culvora;
using namespace culvora::transfer;
using culvora::testing::TempDir;
using Strings = std::vector<std::string>;

namespace {

std::filesystem::path fixture(const char* name)
{
    const char* source = std::getenv("CULVORA_SOURCE_DIR");
    return std::filesystem::path(source ? source : ".") / "tests/core/transfer/fixtures/web" / name;
}

std::string fixtureBytes(const char* name)
{
    return culvora::testing::readBytes(fixture(name));
}

const Strings kTypes(store::kOriginalTypes.begin(), store::kOriginalTypes.end());

std::string source(const std::string& shown)
{
    return std::string(kSourcePrefix) + shown;
}

}  // namespace

// --- The tokenizer ------------------------------------------------------------------------

TEST(HtmlTokenizer, DecodesCharacterReferences)
{
    struct Case {
        const char* in;
        const char* out;
    };
    for (const Case& c : std::vector<Case>{
             {"Mac &amp; Cheese", "Mac & Cheese"},
             {"&lt;b&gt; &quot;x&quot; &apos;y&apos;", "<b> \"x\" 'y'"},
             {"K&auml;se, K&ouml;ttbullar, S&aring;s, Cr&egrave;me br&ucirc;l&eacute;e",
              "K\u00E4se, K\u00F6ttbullar, S\u00E5s, Cr\u00E8me br\u00FBl\u00E9e"},
             {"&Auml;&Ouml;&Aring;&szlig;&yuml;", "\u00C4\u00D6\u00C5\u00DF\u00FF"},
             {"a&nbsp;b", "a\u00A0b"},
             {"&#228;&#xE4;&#XE4;&#246", "\u00E4\u00E4\u00E4\u00F6"},
             {"8&#150;10 &#8211; &#x2019;", "8\u201310 \u2013 \u2019"},
             {"&#0; &#xD800; &#1114112; &#99999999999999;", "\uFFFD \uFFFD \uFFFD \uFFFD"},
             {"&frac12; &half; &deg;C &hellip;", "\u00BD \u00BD \u00B0C \u2026"},
             // Without ";" only the old four, and not when a name goes on.
             {"salt &amp pepper; &copy 2024; a=1&lt=2; &ampx", "salt & pepper; &copy 2024; a=1&lt=2; &ampx"},
             {"&unknown; & &; &#; &#x;", "&unknown; & &; &#; &#x;"},
         }) {
        EXPECT_EQ(decodeCharacterReferences(c.in), c.out) << c.in;
    }
}

TEST(HtmlTokenizer, SplitsTagsTextCommentsAndScripts)
{
    const auto tokens = tokenizeHtml(
        "<!DOCTYPE html><P Class=\"a&amp;b\" data-x='1' hidden id=plain>Tea &amp; cake</p>"
        "<!-- a <b>comment</b> --><br/>"
        "<script type=\"application/ld+json\">{\"t\":\"</scripts> &amp; <b>\"}</script >"
        "<style>p > b {}</STYLE><title>A &amp; B</title>3 < 4 and 5 > 2<a href=\"x");
    using K = HtmlToken::Kind;
    ASSERT_EQ(tokens.size(), 16u);
    EXPECT_EQ(tokens[0].kind, K::Comment);  // the doctype
    EXPECT_EQ(tokens[1].kind, K::StartTag);
    EXPECT_EQ(tokens[1].name, "p");
    ASSERT_EQ(tokens[1].attributes.size(), 4u);
    EXPECT_EQ(*tokens[1].attribute("class"), "a&b");
    EXPECT_EQ(*tokens[1].attribute("data-x"), "1");
    EXPECT_EQ(*tokens[1].attribute("hidden"), "");
    EXPECT_EQ(*tokens[1].attribute("id"), "plain");
    EXPECT_EQ(tokens[2].text, "Tea & cake");
    EXPECT_EQ(tokens[3].kind, K::EndTag);
    EXPECT_EQ(tokens[4].kind, K::Comment);
    EXPECT_EQ(tokens[4].text, " a <b>comment</b> ");
    EXPECT_EQ(tokens[5].name, "br");
    EXPECT_TRUE(tokens[5].selfClosing);
    // Script contents exactly as written: no references decoded, no tags seen.
    EXPECT_EQ(tokens[6].name, "script");
    EXPECT_EQ(tokens[7].kind, K::RawText);
    EXPECT_EQ(tokens[7].text, "{\"t\":\"</scripts> &amp; <b>\"}");
    EXPECT_EQ(tokens[8].kind, K::EndTag);
    EXPECT_EQ(tokens[8].name, "script");
    EXPECT_EQ(tokens[10].kind, K::RawText);
    EXPECT_EQ(tokens[10].text, "p > b {}");
    EXPECT_EQ(tokens[11].name, "style");
    // <title> holds text only, with its references decoded.
    EXPECT_EQ(tokens[12].name, "title");
    EXPECT_EQ(tokens[13].kind, K::Text);
    EXPECT_EQ(tokens[13].text, "A & B");
    // A "<" that starts no tag is text; a tag cut off by the end of the page is dropped.
    EXPECT_EQ(tokens[15].kind, K::Text);
    EXPECT_EQ(tokens[15].text, "3 < 4 and 5 > 2");
}

// --- Durations and yields -------------------------------------------------------------------

TEST(WebRecipe, ReadsDurationsInWholeMinutes)
{
    struct Case {
        const char* text;
        std::optional<long> minutes;
    };
    for (const Case& c : std::vector<Case>{
             {"PT1H30M", 90},        {"P0DT45M", 45},         {"PT90M", 90},
             {"PT1.5H", 90},         {"P1D", 1440},           {"P0Y0M0DT0H35M0.000S", std::nullopt},
             {"PT45M30S", 46},       {"PT20S", 0},            {"pt15m", 15},
             {" PT0H0M ", 0},        {"P1DT2H", 1560},        {"PT1,5H", 90},
             {"P1M", std::nullopt},  {"P", std::nullopt},     {"PT", std::nullopt},
             {"PTM", std::nullopt},  {"PT1H30", std::nullopt}, {"PT1HT5M", std::nullopt},
             {"-PT5M", std::nullopt}, {"PT9999999H", std::nullopt},
             {"1 hour 30 minutes", 90}, {"45 min", 45},       {"45", 45},
             {"20-30 minutes", 20},  {"1.5 hrs", 90},         {"2 h 5 m", 125},
             {"about an hour", std::nullopt}, {"", std::nullopt},
         }) {
        EXPECT_EQ(webMinutes(c.text), c.minutes) << c.text;
    }
}

TEST(WebRecipe, TakesTheFirstNumberOfAYieldForServings)
{
    struct Case {
        const char* yield;
        const char* servings;
    };
    for (const Case& c : std::vector<Case>{{"4", "4"},
                                           {"Serves 4-6", "4"},
                                           {"12 buns", "12"},
                                           {"2.5", "3"},
                                           {"Makes about 24 cookies", "24"},
                                           {"1 1/2 loaves", "2"},
                                           {"a big pot", "0"},
                                           {"100000 crumbs", "0"},
                                           {"", "0"}}) {
        EXPECT_EQ(webServings(c.yield), c.servings) << c.yield;
    }
}

// --- The pages -------------------------------------------------------------------------------

TEST(WebRecipe, ReadsJsonLdInAGraphWithTypeArraysAndReferences)
{
    const auto recipes = readWebRecipes(fixtureBytes("graph.html"), "https://x.example/k");
    ASSERT_EQ(recipes.size(), 1u) << "the WebPage's mainEntity only refers to the recipe";
    const WebRecipe& r = recipes[0];
    EXPECT_EQ(r.name, "Kanelbullar & kaffe");
    EXPECT_EQ(r.servings, "12");
    EXPECT_EQ(r.cookingTime, "90") << "totalTime counts before prepTime and cookTime";
    EXPECT_EQ(r.ingredients, (Strings{"25 g j\u00E4st", "2\u00BD dl mj\u00F6lk",
                                      "1 tsk kardemumma (mald)", "75 g sm\u00F6r",
                                      "<small> about 6 dl flour"}));
    EXPECT_EQ(r.instructions,
              (Strings{"Warm the milk to 37\u00B0C and stir in the yeast.",
                       "Knead in the flour\u2026 let rise for 40 minutes.",
                       "Bake at 225\u00B0C for 8\u201310 minutes.", source("https://x.example/k")}));
    EXPECT_EQ(r.categories, (Strings{"Fika", "desserts"}));
    EXPECT_EQ(chooseType(r.categories, kTypes, "Imported"), "Desserts");
}

TEST(WebRecipe, ReadsHowToSectionsAndMakesTextPlain)
{
    const auto recipes = readWebRecipes(fixtureBytes("sections.html"), "/home/cook/soup.html");
    ASSERT_EQ(recipes.size(), 1u);
    const WebRecipe& r = recipes[0];
    EXPECT_EQ(r.name, "Red lentil soup \u201CSunday\u201D style");
    EXPECT_EQ(r.servings, "4");
    EXPECT_EQ(r.cookingTime, "45");
    // Characters Windows-1252 has stay; those it lacks get a plain equivalent; a line that
    // begins with "[" would end the ingredients in a cookbook.
    EXPECT_EQ(r.ingredients,
              (Strings{"1 1/3 cups red lentils", "2 tbsp olive oil \u2013 or butter",
                       "1 onion, chopped", "1 tsp cumin-seeds, ground", "1 l vegetable stock",
                       "(optional) chili flakes"}));
    EXPECT_EQ(r.instructions,
              (Strings{"The soup:", "Soften the onion in the oil.",
                       "Add lentils and stock; simmer 20 minutes.", "To serve:",
                       "Blend until smooth.", "Season with salt.",
                       source("/home/cook/soup.html")}));
    EXPECT_EQ(r.categories, (Strings{"Dinner", "hot DISH"}));
    EXPECT_EQ(chooseType(r.categories, kTypes, "Imported"), "Hot dish");

    auto draft = webRecipeDraft(r, "Hot dish");
    ASSERT_TRUE(draft) << draft.error().message;
    EXPECT_EQ(draft->name, "Red lentil soup \x93Sunday\x94 style");
    EXPECT_TRUE(draft->ingredients.starts_with(
        "1 1/3 cups red lentils\r\n2 tbsp olive oil \x96 or butter\r\n"));
    EXPECT_TRUE(draft->instructions.ends_with("\r\nSource: /home/cook/soup.html"));
    EXPECT_EQ(draft->type, "Hot dish");
    EXPECT_TRUE(recipes::checkDraft(*draft));
}

TEST(WebRecipe, ReadsMicrodataWhenThereIsNoJsonLd)
{
    // A Windows-1252 page (its <meta charset> says so), list items left open, an author item
    // with a name of its own inside the recipe.
    const auto recipes = readWebRecipes(fixtureBytes("microdata.html"), "saved.html");
    ASSERT_EQ(recipes.size(), 1u);
    const WebRecipe& r = recipes[0];
    EXPECT_EQ(r.name, "\u00C4rtsoppa med fl\u00E4sk");
    EXPECT_EQ(r.servings, "6");
    EXPECT_EQ(r.cookingTime, "100");
    EXPECT_EQ(r.ingredients,
              (Strings{"500 g gula \u00E4rtor", "1 gul l\u00F6k", "300 g r\u00F6kt fl\u00E4sk"}));
    EXPECT_EQ(r.instructions,
              (Strings{"Soak the peas overnight.", "Boil for 1\u00BD hours with the onion.",
                       "Add the pork for the last 30 minutes.", "Serve with mustard.",
                       source("saved.html")}));
    EXPECT_EQ(r.categories, (Strings{"Soups"}));
    EXPECT_EQ(chooseType(r.categories, kTypes, "First Course"), "First Course");
}

TEST(WebRecipe, ReadsEveryRecipeOfAPageAndSkipsABrokenScript)
{
    const auto recipes = readWebRecipes(fixtureBytes("two_recipes.html"), "p");
    ASSERT_EQ(recipes.size(), 2u);
    EXPECT_EQ(recipes[0].name, "Thin pancakes");
    EXPECT_EQ(recipes[0].servings, "4");
    EXPECT_EQ(recipes[0].cookingTime, "30") << "without totalTime, prepTime and cookTime add up";
    EXPECT_EQ(recipes[0].instructions,
              (Strings{"Whisk everything.", "Fry thin pancakes in butter.", source("p")}));
    EXPECT_EQ(recipes[1].name, "Oven pancake");
    EXPECT_EQ(recipes[1].servings, "4");
    EXPECT_EQ(recipes[1].cookingTime, "25");
    EXPECT_EQ(recipes[1].ingredients, (Strings{"2 dl flour", "6 dl milk", "4 eggs", "100 g bacon"}))
        << "the older \"ingredients\"";
}

TEST(WebRecipe, FindsNoRecipeWhereThePageHasNone)
{
    // An article's data, a script that only looks like data, JSON that does not parse.
    EXPECT_TRUE(readWebRecipes(fixtureBytes("none.html"), "p").empty());
    EXPECT_TRUE(readWebRecipes(fixtureBytes("broken.html"), "p").empty());
    EXPECT_TRUE(readWebRecipes("", "p").empty());
    // A recipe with nothing in it is none either.
    EXPECT_TRUE(readWebRecipes(R"(<script type="application/ld+json">{"@type":"Recipe"}</script>)",
                               "p")
                    .empty());
}

TEST(WebRecipe, TakesTheCharsetFromTheServerThenThePageThenTheBytes)
{
    const std::string latin1 =
        "<script type='application/ld+json'>{\"@type\":\"Recipe\",\"name\":\"Sm\xF6rg\xE5s\"}"
        "</script>";
    EXPECT_EQ(readWebRecipes(latin1, "p").at(0).name, "Sm\u00F6rg\u00E5s")
        << "bytes that are no UTF-8 read as Windows-1252";
    EXPECT_EQ(readWebRecipes(latin1, "p", "text/html; charset=ISO-8859-1").at(0).name,
              "Sm\u00F6rg\u00E5s");
    const std::string utf8 = "<meta charset=\"windows-1252\">"
                             "<script type='application/ld+json'>{\"@type\":\"Recipe\",\"name\":"
                             "\"Sm\xC3\xB6r\"}</script>";
    EXPECT_EQ(readWebRecipes(utf8, "p").at(0).name, "Sm\u00C3\u00B6r") << "as the page says";
    EXPECT_EQ(readWebRecipes(utf8, "p", "text/html;charset=utf-8").at(0).name, "Sm\u00F6r")
        << "the server's charset counts first";
}

TEST(WebRecipe, KeepsEveryFieldWithinTheLimits)
{
    std::string ingredients;
    for (int i = 0; i < 300; ++i) ingredients += "\"" + std::to_string(i) + " g flour\",";
    const std::string longWords(2000, 'x');
    std::string words;
    for (int i = 0; i < 10; ++i) words += "Grandmother's ";
    const std::string page = "<script type=\"application/ld+json\">{\"@type\":\"Recipe\",\"name\":\"" +
                             words +
                             "\",\"recipeIngredient\":[" + ingredients + "\"" + longWords +
                             "\"],\"recipeInstructions\":\"Line one\\nLine two\\r\\n\\tLine "
                             "three\",\"recipeYield\":\"999999\",\"totalTime\":\"P999D\"}</script>";
    const auto recipes = readWebRecipes(page, "p");
    ASSERT_EQ(recipes.size(), 1u);
    const WebRecipe& r = recipes[0];
    EXPECT_EQ(r.name, words.substr(0, 7 * 14 - 1)) << "cut at a word within 100 characters";
    EXPECT_EQ(r.ingredients.size(), kMaxWebLines);
    EXPECT_EQ(r.instructions, (Strings{"Line one", "Line two", "Line three", source("p")}));
    EXPECT_EQ(r.servings, "0");
    EXPECT_EQ(r.cookingTime, "0");
    const std::string oneLong = "<script type=\"application/ld+json\">{\"@type\":\"Recipe\",\"name\":\"" +
                                longWords + "\","
                                "\"recipeIngredient\":[\"" + longWords + "\"]}</script>";
    const auto cut = readWebRecipes(oneLong, "p");
    ASSERT_EQ(cut.size(), 1u);
    EXPECT_EQ(cut[0].name.size(), kMaxWebNameChars) << "a word longer than the limit is cut";
    EXPECT_EQ(cut[0].ingredients.at(0).size(), kMaxWebLineChars);
}

TEST(WebRecipe, RefusesARecordWithACharacterWindows1252CannotHold)
{
    WebRecipe recipe{"Cr\u00E8me br\u00FBl\u00E9e", "4", "60", {"4 egg yolks"},
                     {"Torch the sugar \U0001F36E", "Source: p"}, {}};
    auto refused = webRecipeDraft(recipe, "Desserts");
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().message,
              "The line \"Torch the sugar \U0001F36E\" in the instructions cannot be saved. The "
              "character \"\U0001F36E\" (U+1F36E) cannot be stored: the cookbook files hold "
              "Western European letters and signs only (Windows-1252).");
    recipe.instructions[0] = "Torch the sugar.";
    recipe.name = "\u0141\u00F3d\u017A cake";
    refused = webRecipeDraft(recipe, "Desserts");
    ASSERT_FALSE(refused);
    EXPECT_TRUE(refused.error().message.starts_with("The recipe's name cannot be saved. The "
                                                    "character \"\u0141\""));
    recipe.name = "Cr\u00E8me br\u00FBl\u00E9e";
    auto draft = webRecipeDraft(recipe, "Desserts");
    ASSERT_TRUE(draft);
    EXPECT_EQ(*draft, (recipes::RecipeDraft{"Cr\xE8me br\xFBl\xE9" "e", "4", "60", "4 egg yolks",
                                             "Torch the sugar.\r\nSource: p", "Desserts"}));
}

TEST(WebRecipe, ChoosesTheTypeFromTheCategories)
{
    EXPECT_EQ(chooseType({"Fika", " DESSERTS "}, kTypes, "Imported"), "Desserts");
    EXPECT_EQ(chooseType({"Sm\u00F6rg\u00E5s"}, {"Sm\xD6RG\xC5S"}, "Imported"), "Sm\xD6RG\xC5S");
    EXPECT_EQ(chooseType({"\u0141"}, kTypes, "Imported"), "Imported");
    EXPECT_EQ(chooseType({}, kTypes, "Hot dish"), "Hot dish");
}

// --- Reading a saved page ----------------------------------------------------------------------

TEST(WebRecipe, ReadsASavedPageAndNamesItsPathAsTheSource)
{
    TempDir dir;
    dir.write("soup.html", fixtureBytes("sections.html"));
    const std::string path = dir.file("soup.html").string();
    for (const std::string& given : {path, "  " + path + " ", "file://" + path}) {
        auto recipes = readWebRecipesFrom(given);
        ASSERT_TRUE(recipes) << recipes.error().message;
        EXPECT_EQ(recipes->at(0).instructions.back(), source(path)) << given;
    }

    dir.write("none.html", fixtureBytes("none.html"));
    auto none = readWebRecipesFrom(dir.file("none.html").string());
    ASSERT_FALSE(none);
    EXPECT_EQ(none.error().code, ErrorCode::NotFound);
    EXPECT_EQ(none.error().message, kNoWebRecipeMessage);

    dir.write("huge.html", std::string(kMaxWebPageBytes + 1, ' '));
    auto huge = readWebRecipesFrom(dir.file("huge.html").string());
    ASSERT_FALSE(huge);
    EXPECT_EQ(huge.error().message,
              "The file is larger than 5 MB, more than a recipe page can be; it was not read.");

    EXPECT_EQ(readWebRecipesFrom(dir.file("missing.html").string()).error().code,
              ErrorCode::NotFound);
    auto ftp = readWebRecipesFrom("ftp://example.org/recipe.html");
    ASSERT_FALSE(ftp);
    EXPECT_EQ(ftp.error().message,
              "Only web addresses that begin with https:// or http:// can be read.");
    EXPECT_EQ(readWebRecipesFrom("   ").error().code, ErrorCode::Invalid);
}

TEST(WebRecipe, AddsTheRecordToTheChosenCookbookUnderAFreeName)
{
    TempDir dir;
    ProgramFolder folder{dir.path()};
    dir.write("bocker.txt", "Standard\r\nrecept.txt\r\nWeb finds\r\nWEB.TXT\r\n");
    dir.write("recept.txt", "");
    dir.write("WEB.TXT", "");
    const auto recipes = readWebRecipes(fixtureBytes("sections.html"), "https://example.org/soup");
    ASSERT_FALSE(recipes.empty());
    auto draft = webRecipeDraft(recipes[0], "Hot dish");
    ASSERT_TRUE(draft) << draft.error().message;

    auto added = addWebRecipe(folder, "Web finds", *draft);
    ASSERT_TRUE(added) << added.error().message;
    EXPECT_EQ(*added, draft->name);
    const std::string once = dir.read("WEB.TXT");
    EXPECT_TRUE(once.starts_with("[NAMN]\r\n" + draft->name + "\r\n")) << once;
    EXPECT_NE(once.find("\r\nSource: https://example.org/soup\r\n[TYP]\r\nHot dish\r\n"),
              std::string::npos)
        << once;

    // The same page again: as with the imports, the recipe gets the first free numbered name.
    for (const char* number : {" (2)", " (3)"}) {
        auto again = addWebRecipe(folder, "Web finds", *draft);
        ASSERT_TRUE(again) << again.error().message;
        EXPECT_EQ(*again, draft->name + number);
    }
    const std::string thrice = dir.read("WEB.TXT");
    EXPECT_NE(thrice.find("[NAMN]\r\n" + draft->name + " (3)\r\n[PORTIONER]"), std::string::npos);

    // A name the cook chose is refused when taken, and nothing is written.
    auto refused = addWebRecipe(folder, "Web finds", *draft, NameTaken::Refuse);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().code, ErrorCode::Refused);
    EXPECT_NE(refused.error().message.find("is in the cookbook already"), std::string::npos);

    // The checks of a new recipe hold for a page's recipe too.
    auto unnamed = *draft;
    unnamed.name.clear();
    EXPECT_EQ(addWebRecipe(folder, "Web finds", unnamed).error().message,
              recipes::kNoNameMessage);
    EXPECT_EQ(addWebRecipe(folder, "No such book", *draft).error().code, ErrorCode::NotFound);
    EXPECT_EQ(dir.read("WEB.TXT"), thrice);
}

TEST(WebRecipe, ReadsAPageFromAWebServerAndNamesTheAddressItWasFoundAt)
{
    culvora::testing::HttpTestServer server;
    // The server's charset counts: this page is Windows-1252 although it holds no <meta>.
    server.page("/bullar", "<script type=\"application/ld+json\">{\"@type\":\"Recipe\","
                           "\"name\":\"Kanelbullar med sm\xF6r\"}</script>",
                "text/html; charset=windows-1252");
    server.redirect("/b", "/bullar");
    server.page("/plain", fixtureBytes("none.html"));
    server.endless("/huge", 2 * kMaxWebPageBytes);

    auto recipes = readWebRecipesFrom(server.url("/b"));
    ASSERT_TRUE(recipes) << recipes.error().message;
    ASSERT_EQ(recipes->size(), 1u);
    EXPECT_EQ(recipes->at(0).name, "Kanelbullar med sm\u00F6r");
    EXPECT_EQ(recipes->at(0).instructions, Strings{source(server.url("/bullar"))});

    EXPECT_EQ(readWebRecipesFrom(server.url("/plain")).error().message, kNoWebRecipeMessage);
    auto huge = readWebRecipesFrom(server.url("/huge"));
    ASSERT_FALSE(huge);
    EXPECT_EQ(huge.error().message,
              "The page is larger than 5 MB, more than a recipe page can be; it was not read.");
}
