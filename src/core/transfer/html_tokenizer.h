#pragma once

// A small HTML tokenizer: enough of the HTML rules to read the recipe data in a web page.
// It splits a page (UTF-8) into start and end tags with their attributes, text, comments and
// the contents of <script> and <style>, which are taken as they stand, so the JSON of a
// <script type="application/ld+json"> reaches its reader untouched. Character references
// (&amp;, &eacute;, &#8217;, &#x2019;) are decoded in text and attribute values.
//
// It does not build a document tree and never fails: whatever the bytes, every one of them
// ends up in some token or is skipped, and the tokens come out in page order.

#include <string>
#include <string_view>
#include <vector>

namespace culvora::transfer {

struct HtmlAttribute {
    std::string name;   // lower case
    std::string value;  // character references decoded
};

struct HtmlToken {
    enum class Kind {
        StartTag,
        EndTag,
        Text,     // character references decoded (also the contents of <title>, <textarea>)
        RawText,  // the contents of <script> or <style>, exactly as in the page
        Comment,
    };
    Kind kind = Kind::Text;
    std::string name;  // a tag's name, lower case
    std::vector<HtmlAttribute> attributes;
    bool selfClosing = false;  // "<br/>"
    std::string text;          // Text, RawText, Comment

    // The value of an attribute (the first of that name), or nullptr.
    const std::string* attribute(std::string_view name) const;
};

std::vector<HtmlToken> tokenizeHtml(std::string_view utf8);

// Decodes the character references of a text. Named references need their ";" (but for the
// four old ones, &amp &lt &gt &quot, which pages write without it), numeric ones do not; a
// reference to no character (0, a surrogate, past U+10FFFF) becomes U+FFFD, and the numbers
// 128 to 159 mean the Windows-1252 characters, as browsers read them. Anything else that is
// not a known reference stays as it is.
std::string decodeCharacterReferences(std::string_view utf8);

// True for the elements that stand on a line of their own in a page's text (p, div, li, br,
// headings, table rows, ...).
bool breaksLine(std::string_view tagName);

}  // namespace culvora::transfer
