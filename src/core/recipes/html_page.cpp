#include "core/recipes/html_page.h"

#include "core/app/product.h"

namespace culvora::recipes {

namespace {

bool appendMarkupEntity(std::string& out, char c)
{
    switch (c) {
    case '<': out += "&lt;"; return true;
    case '>': out += "&gt;"; return true;
    case '&': out += "&amp;"; return true;
    case '"': out += "&quot;"; return true;
    default: return false;
    }
}

}  // namespace

std::string escapeMarkup(std::string_view cp1252)
{
    std::string out;
    out.reserve(cp1252.size());
    for (char c : cp1252) {
        if (!appendMarkupEntity(out, c)) out += c;
    }
    return out;
}

namespace {

void appendEscapedLetters(std::string& out, std::string_view cp1252)
{
    for (char c : cp1252) {
        if (appendMarkupEntity(out, c)) continue;
        switch (static_cast<unsigned char>(c)) {
        case 0xE5: out += "&aring;"; break;
        case 0xE4: out += "&auml;"; break;
        case 0xF6: out += "&ouml;"; break;
        case 0xC5: out += "&Aring;"; break;
        case 0xC4: out += "&Auml;"; break;
        case 0xD6: out += "&Ouml;"; break;
        case '\r': out += "<BR>\r\n"; break;
        case '\n': break;
        default: out += c;
        }
    }
}

}  // namespace

std::string escapeLetters(std::string_view cp1252)
{
    std::string out;
    out.reserve(cp1252.size() + cp1252.size() / 4);
    appendEscapedLetters(out, cp1252);
    return out;
}

namespace {

void appendLine(std::string& page, std::string_view text)
{
    page += text;
    page += "\r\n";
}

}  // namespace

std::string recipePageTop(const HtmlPageTexts& texts, std::string_view bodyLine)
{
    const std::string site = escapeMarkup(app::kWebSite);
    std::string page;
    page.reserve(1024 + texts.name.size() + texts.servings.size() + texts.time.size());
    auto line = [&](std::string_view text) { appendLine(page, text); };
    line("<HTML>");
    line("<!-- HTML-file created by Culvora, visit us at " + site + " -->");
    line("<HEAD>");
    line(kCharsetMeta);
    line("</HEAD>");
    line(bodyLine);
    line("<TABLE WIDTH=\"500\">");
    line("<TR>");
    line("<TD>");
    line("<FONT FACE=\"Arial\" size=\"4\">");
    line("<B><U>" + escapeMarkup(texts.name) + "</B></U>");
    line("<BR>");
    line("<BR>");
    line("</FONT>");
    line("<FONT FACE=\"Arial\" size=\"2\">");
    line(escapeMarkup(texts.servings) + "<BR>");
    line(escapeMarkup(texts.time) + "<BR><BR>");
    line("</FONT>");
    line("</TD>");
    line("</TR>");
    line("</TABLE>");
    line("<TABLE WIDTH=\"500\">");
    line("<TR>");
    line("<TD WIDTH=\"50%\" VALIGN=\"TOP\">");
    line("<FONT FACE=\"Arial\" size=\"3\">");
    return page;
}

std::string_view recipePageMiddle()
{
    return "</FONT>\r\n"
           "</TD>\r\n"
           "<TD WIDTH=\"50%\" VALIGN=\"TOP\">\r\n"
           "<FONT FACE=\"Times New Roman\" size=\"2\">\r\n";
}

std::string recipePageBottom()
{
    const std::string site = escapeMarkup(app::kWebSite);
    std::string page;
    auto line = [&](std::string_view text) { appendLine(page, text); };
    line("</FONT>");
    line("</TD>");
    line("</TR>");
    line("</TABLE>");
    line("<TABLE WIDTH=\"500\">");
    line("<TR>");
    line("<TD>");
    line("<p align=\"center\"><center><br><HR SIZE=\"0\" WIDTH=\"80%\">");
    line("<font size=\"1\" face=\"Arial\">Created by <font color=\"#000080\">");
    line("Culvora - your digital cookbook</font><font color=\"#000000\">.</font> Visit us at");
    line("<a href=\"" + site + "\">" + site + "</a></font>");
    line("</center></p></TD></TR>");
    line("</BODY>");
    line("</HTML>");
    return page;
}

void appendEscapedLine(std::string& out, std::string_view line)
{
    appendEscapedLetters(out, line);
    out += "<BR>\r\n";
}

std::string recipePage(const HtmlPageTexts& texts, std::string_view bodyLine)
{
    std::string page = recipePageTop(texts, bodyLine);
    page.reserve(page.size() + 2048 + texts.ingredients.size() + texts.instructions.size());
    // The texts bring their own line ends: "</FONT>" starts a new line after a final CR.
    page += escapeLetters(texts.ingredients);
    page += recipePageMiddle();
    page += escapeLetters(texts.instructions);
    page += recipePageBottom();
    return page;
}

}  // namespace culvora::recipes
