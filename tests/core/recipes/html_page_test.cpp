#include <gtest/gtest.h>

#include "core/app/product.h"
#include "core/recipes/html_page.h"
#include "support/temp_dir.h"

using namespace culvora;
using namespace culvora::recipes;
using culvora::testing::crlf;

namespace {

TEST(HtmlPage, TheWholePageByteForByte)
{
    const std::string site = app::kWebSite;
    HtmlPageTexts texts{"K\xE4ttbullar", "(Serves 4)", "Time to cook: 30 min",
                        "2 dl mj\xF6lk\r\n1 \xC4gg\r\n", "Stek.\r\n"};
    const std::string expected = crlf({
        "<HTML>",
        "<!-- HTML-file created by Culvora, visit us at " + site + " -->",
        // The bytes are Windows-1252 and the page says so, or a browser guesses.
        "<HEAD>",
        "<META http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">",
        "</HEAD>",
        "<BODY>",
        "<TABLE WIDTH=\"500\">",
        "<TR>",
        "<TD>",
        "<FONT FACE=\"Arial\" size=\"4\">",
        // The name keeps its letters; only the two texts below get letter entities.
        "<B><U>K\xE4ttbullar</B></U>",
        "<BR>",
        "<BR>",
        "</FONT>",
        "<FONT FACE=\"Arial\" size=\"2\">",
        "(Serves 4)<BR>",
        "Time to cook: 30 min<BR><BR>",
        "</FONT>",
        "</TD>",
        "</TR>",
        "</TABLE>",
        "<TABLE WIDTH=\"500\">",
        "<TR>",
        "<TD WIDTH=\"50%\" VALIGN=\"TOP\">",
        "<FONT FACE=\"Arial\" size=\"3\">",
        "2 dl mj&ouml;lk<BR>",
        "1 &Auml;gg<BR>",
        "</FONT>",
        "</TD>",
        "<TD WIDTH=\"50%\" VALIGN=\"TOP\">",
        "<FONT FACE=\"Times New Roman\" size=\"2\">",
        "Stek.<BR>",
        "</FONT>",
        "</TD>",
        "</TR>",
        "</TABLE>",
        "<TABLE WIDTH=\"500\">",
        "<TR>",
        "<TD>",
        "<p align=\"center\"><center><br><HR SIZE=\"0\" WIDTH=\"80%\">",
        "<font size=\"1\" face=\"Arial\">Created by <font color=\"#000080\">",
        "Culvora - your digital cookbook</font><font color=\"#000000\">.</font> Visit us at",
        "<a href=\"" + site + "\">" + site + "</a></font>",
        "</center></p></TD></TR>",
        "</BODY>",
        "</HTML>",
    });
    EXPECT_EQ(recipePage(texts), expected);
}

TEST(HtmlPage, TextsWithoutALastLineEndAndEmptyTexts)
{
    // No final CR: "</FONT>" follows the last character on the same line.
    const std::string page = recipePage({"A", "(Serves )", "Time to cook:  min", "", "Stir"});
    EXPECT_NE(page.find("<FONT FACE=\"Arial\" size=\"3\">\r\n</FONT>\r\n"), std::string::npos);
    EXPECT_NE(page.find("size=\"2\">\r\nStir</FONT>\r\n"), std::string::npos);
    EXPECT_TRUE(
        recipePage({}, "<BODY BGCOLOR=\"0080FF\">")
            .starts_with(crlf({"<HTML>",
                               "<!-- HTML-file created by Culvora, visit us at " +
                                   std::string(app::kWebSite) + " -->",
                               "<HEAD>", kCharsetMeta, "</HEAD>", "<BODY BGCOLOR=\"0080FF\">"})));
}

TEST(HtmlPage, NoTextCanPutMarkupIntoThePage)
{
    const std::string page =
        recipePage({"Pie</U><script>alert(1)</script>", "(Serves \"4\")",
                    "Time to cook: <i>5</i> min", "salt & <b>pepper</b>\r\n",
                    "<img src=x onerror=alert(1)>\r\n\xE5\xE4\xF6\xC5\xC4\xD6\r\n"});
    EXPECT_EQ(page.find("<script"), std::string::npos);
    EXPECT_EQ(page.find("<img"), std::string::npos);
    EXPECT_EQ(page.find("<b>"), std::string::npos);
    EXPECT_EQ(page.find("<i>"), std::string::npos);
    EXPECT_NE(page.find("<B><U>Pie&lt;/U&gt;&lt;script&gt;alert(1)&lt;/script&gt;</B></U>\r\n"),
              std::string::npos);
    EXPECT_NE(page.find("(Serves &quot;4&quot;)<BR>\r\n"), std::string::npos);
    EXPECT_NE(page.find("salt &amp; &lt;b&gt;pepper&lt;/b&gt;<BR>\r\n"), std::string::npos);
    EXPECT_NE(page.find("&aring;&auml;&ouml;&Aring;&Auml;&Ouml;<BR>\r\n"), std::string::npos);
    EXPECT_EQ(escapeLetters("a\r\nb\nc\r"), "a<BR>\r\nbc<BR>\r\n");
}

}  // namespace
