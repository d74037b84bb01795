#pragma once

// The recipe as one web page: the name as a heading, servings and time, the ingredients and
// the instructions side by side, and a footer naming the program. The single-recipe export
// and every page of the HTML archive share this layout.
//
// Every text that goes into a page has "<", ">", "&" and '"' written as entities, so a recipe
// can never put markup or script into a page; the ingredient and instruction texts also have
// å, ä, ö, Å, Ä, Ö written as entities and each line end as "<BR>". The pages are written in
// Windows-1252 and say so in their head, so a browser shows a name's letters right too.

#include <string>
#include <string_view>

namespace culvora::recipes {

inline constexpr std::string_view kHtmlFilter = "HTML-files|*.htm*";
inline constexpr std::string_view kHtmlExtension = "html";
inline constexpr std::string_view kHtmlInitialName = "*.htm*";

// The first line inside every page's head: the bytes are Windows-1252, as the data files are.
inline constexpr std::string_view kCharsetMeta =
    "<META http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">";

// "<" ">" "&" '"' as entities; everything else unchanged.
std::string escapeMarkup(std::string_view cp1252);

// The page's way of writing a multi-line text: the markup characters and the six Swedish
// letters as entities, CR as "<BR>" and a line end, LF dropped.
std::string escapeLetters(std::string_view cp1252);

// What a page shows; all Windows-1252, as the viewer shows it.
struct HtmlPageTexts {
    std::string name;          // "Pancakes"
    std::string servings;      // "(Serves 4)"
    std::string time;          // "Time to cook: 30 min"
    std::string ingredients;   // each line followed by CR LF
    std::string instructions;  // likewise
};

// The 45-line page, lines ending in CR LF. `bodyLine` opens the body ("<BODY>" for a single
// page, the background line in an archive).
std::string recipePage(const HtmlPageTexts& texts, std::string_view bodyLine = "<BODY>");

// The same page in parts, for a writer that puts a large page out piece by piece instead of
// building it: recipePage() is the top (from the texts' name, servings and time), the escaped
// ingredients, the middle, the escaped instructions and the bottom.
std::string recipePageTop(const HtmlPageTexts& texts, std::string_view bodyLine);
std::string_view recipePageMiddle();
std::string recipePageBottom();
// One line of a multi-line text as the page holds it (the line followed by CR, escaped):
// the line's letters escaped, then "<BR>" and a line end.
void appendEscapedLine(std::string& out, std::string_view line);

}  // namespace culvora::recipes
