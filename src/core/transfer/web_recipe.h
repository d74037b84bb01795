#pragma once

// Recipes read from web pages: a page saved as a file or fetched from an https:// (or http://)
// address, and the recipe data that recipe sites build into their pages for search engines
// (schema.org's Recipe). JSON-LD is read first: every <script type="application/ld+json">,
// with the recipes found at its top, in arrays, in "@graph" and under any other member
// ("mainEntity"), an "@type" of "Recipe" or a list holding it. Only a page without any JSON-LD
// recipe is read for microdata (an element with itemscope and an itemtype ending in
// "/Recipe", and the itemprop elements inside it).
//
// What becomes of a recipe's fields:
// - name: "name" (else "headline"), at most kMaxWebNameChars characters, cut at a word.
// - servings: the first number of "recipeYield" (a number, a text such as "Serves 4" or
//   "4-6 portions", or a list whose first entry with a number counts), rounded to a whole
//   number; "0" when there is none, as for other imported recipes.
// - cooking time: "totalTime"; without it, "prepTime" and "cookTime" added up, since the time a
//   cook looks for is the whole time to the table. ISO 8601 durations ("PT1H30M", "P0DT45M",
//   "PT90M", "PT1.5H", "P1D") and plain texts ("1 hour 30 minutes", "45") give whole minutes;
//   "0" when the page gives no time it can read.
// - ingredients: "recipeIngredient" (or the older "ingredients"), one line each.
// - instructions: "recipeInstructions" as a text, a list of texts, HowToSteps (their "text",
//   else their "name") and HowToSections (their "name" on a line ending with ":", then their
//   steps), one step a line. The last line says where the recipe came from: kSourcePrefix and
//   the page's address, or the saved file's path.
// - categories: "recipeCategory", a text (commas separate several) or a list; chooseType()
//   picks the recipe type from them.
// HTML in the texts is taken out and its character references decoded, runs of blanks become
// one, and every field is one line. Characters Windows-1252 has stay as they are (curly quotes,
// dashes, ½, °); a few it lacks get their plain equivalent (⅓ is "1/3", the minus sign and
// the other dashes "-", thin and other special spaces a blank, ℃ "°C"), and invisible ones
// (soft hyphens, zero-width spaces) are left out. Anything else it cannot hold (letters of
// other alphabets, emoji) stays in the recipe, and is refused when the recipe is saved, with
// the message that names it (webRecipeDraft, and the new-recipe editor's Save).
// A line beginning with "[" would end a record's ingredients or split it: its "[" becomes "("
// (and the first "]" after it ")").
//
// Texts here are UTF-8 until webRecipeDraft() makes the record's Windows-1252 fields.

#include <atomic>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"
#include "core/exchange/http_get.h"
#include "core/recipes/recipe_edit.h"

namespace culvora::transfer {

// Pages larger than this are not recipe pages; neither a file nor a fetch reads past it.
inline constexpr std::size_t kMaxWebPageBytes = 5 * 1024 * 1024;
// The limits of what a page may put into a recipe. Longer lines are cut at a word, and lines
// past the count are left out.
inline constexpr std::size_t kMaxWebNameChars = 100;
inline constexpr std::size_t kMaxWebLineChars = 1000;
inline constexpr std::size_t kMaxWebLines = 200;  // ingredient lines; instruction lines
inline constexpr std::size_t kMaxWebRecipes = 20;
inline constexpr long kMaxWebServings = 9999;
inline constexpr long kMaxWebMinutes = 99999;

inline constexpr std::string_view kNoWebRecipeMessage =
    "This page holds no recipe Culvora can read. Culvora reads the recipe details that most "
    "recipe sites build into their pages, and this page has none.";
inline constexpr std::string_view kSourcePrefix = "Source: ";

struct WebRecipe {
    std::string name;
    std::string servings;     // digits; "0" when the page gives no number
    std::string cookingTime;  // whole minutes in digits; "0" when the page gives no time
    std::vector<std::string> ingredients;
    std::vector<std::string> instructions;  // the last one names the source
    std::vector<std::string> categories;
    bool operator==(const WebRecipe&) const = default;
};

// The recipes of a page (its bytes as found), in page order, at most kMaxWebRecipes; a recipe
// given twice (in "@graph" and again as "mainEntity") counts once. `source` is the address or
// path shown on the last instruction line; `contentType` is the server's Content-Type, whose
// charset counts before the page's own <meta charset>. Without either, UTF-8 is taken when
// the bytes are UTF-8, Windows-1252 otherwise.
std::vector<WebRecipe> readWebRecipes(std::string_view page, std::string_view source,
                                      std::string_view contentType = {});

// The page as UTF-8 text, by the charset rules above; bytes that are no UTF-8 become U+FFFD.
std::string webPageText(std::string_view page, std::string_view contentType = {});

// An ISO 8601 duration or a plain time text in whole minutes (rounded); nothing when it
// cannot be read, is negative or is longer than kMaxWebMinutes.
std::optional<long> webMinutes(std::string_view duration);

// The servings of a yield text: its first number, rounded half up; "0" when it has none or
// the number is larger than kMaxWebServings.
std::string webServings(std::string_view yield);

// The recipe type for a recipe's categories (UTF-8): the first of them that `types`
// (Windows-1252, typer.txt) holds, compared without regard to letter case and blanks at either
// end, as typer.txt writes it; `defaultType` when none does.
std::string chooseType(const std::vector<std::string>& categories,
                       const std::vector<std::string>& types, std::string_view defaultType);

// The record's fields in Windows-1252, with `type` (Windows-1252) as its type, the multi-line
// texts joined by CR LF. A character Windows-1252 cannot hold is refused with the message that
// names the field (or line) and the character. The draft is not checked further: see
// recipes::checkDraft.
Result<recipes::RecipeDraft> webRecipeDraft(const WebRecipe& recipe, std::string_view type);

// Adds a recipe made by webRecipeDraft to the cookbook titled `bookTitle` (Windows-1252), after
// the checks of a new recipe (recipes::checkDraft), and gives the name it went in under. A name
// the cookbook holds already becomes the first free numbered name ("Pancakes (2)"), as the
// imports do; with NameTaken::Refuse (a name the cook chose) it is refused instead
// (ErrorCode::Refused) and nothing is written.
enum class NameTaken { Number, Refuse };
Result<std::string> addWebRecipe(const ProgramFolder& folder, std::string_view bookTitle,
                                 const recipes::RecipeDraft& draft,
                                 NameTaken whenTaken = NameTaken::Number);

// Reads a page from a saved file or an https:// or http:// address ("file://" addresses are
// taken as files) and the recipes on it. A page without any is refused with
// kNoWebRecipeMessage (ErrorCode::NotFound); a file or page larger than kMaxWebPageBytes is
// refused unread. `cancelled` stops a fetch (see exchange::httpGet).
Result<std::vector<WebRecipe>> readWebRecipesFrom(std::string_view fileOrAddress,
                                                  const std::atomic<bool>* cancelled = nullptr,
                                                  exchange::HttpLimits limits = {});

}  // namespace culvora::transfer
