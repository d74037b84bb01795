#include <gtest/gtest.h>

#include "core/recipes/pictures.h"
#include "support/temp_dir.h"

using namespace culvora;
using namespace culvora::recipes;
using culvora::testing::crlf;
using culvora::testing::TempDir;

namespace {

TEST(Pictures, LookUpsMatchNameLinesOnly)
{
    // "Pie" is the path line of the first entry: it must not be taken for the recipe Pie.
    const auto entries = parsePictures(crlf({"Soup", "Pie", "Pie", "/home/cook/pie.jpg", "Tart"}));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(findPicture(entries, "Pie"), std::optional<std::string>("/home/cook/pie.jpg"));
    EXPECT_EQ(findPicture(entries, "Soup"), std::optional<std::string>("Pie"));
    EXPECT_EQ(findPicture(entries, "Tart"), std::nullopt) << "a name on the last line has no path";
    EXPECT_EQ(findPicture(entries, "Stew"), std::nullopt);
}

TEST(Pictures, AddingAppendsAndChangingRewritesOnePathLine)
{
    TempDir dir;
    ProgramFolder folder(dir.path());
    // A missing list is created by the first picture; a cancelled dialog records an empty path.
    ASSERT_TRUE(addPicture(folder, "Soup", ""));
    EXPECT_EQ(dir.read("bilder.txt"), crlf({"Soup", ""}));
    ASSERT_TRUE(addPicture(folder, "Pie", "/p/pie.jpg"));
    ASSERT_TRUE(addPicture(folder, "Cake", "/p/cake.png"));
    // The first of three entries: only its path line changes, the rest stay as they were.
    ASSERT_TRUE(setPicture(folder, "Soup", "/p/soup.jpg"));
    EXPECT_EQ(dir.read("bilder.txt"),
              crlf({"Soup", "/p/soup.jpg", "Pie", "/p/pie.jpg", "Cake", "/p/cake.png"}));
    EXPECT_FALSE(dir.exists("bilder.tmp"));
    // A recipe without an entry gets one appended; a second entry of a name is never changed.
    ASSERT_TRUE(setPicture(folder, "Stew", "/p/stew.jpg"));
    ASSERT_TRUE(addPicture(folder, "Pie", "/p/other.jpg"));
    ASSERT_TRUE(setPicture(folder, "Pie", "/p/new pie.jpg"));
    EXPECT_EQ(dir.read("bilder.txt"),
              crlf({"Soup", "/p/soup.jpg", "Pie", "/p/new pie.jpg", "Cake", "/p/cake.png", "Stew",
                    "/p/stew.jpg", "Pie", "/p/other.jpg"}));
    EXPECT_EQ(picturePath(folder, "Pie").value(), std::optional<std::string>("/p/new pie.jpg"));
    EXPECT_EQ(picturePath(folder, "Gone").value(), std::nullopt);
    // A path with a line break would split the pairs.
    EXPECT_FALSE(setPicture(folder, "Soup", "/p/a\nb.jpg"));
}

TEST(Pictures, AHalfPairAtTheEndStaysAndNewPairsStayPairs)
{
    TempDir dir;
    ProgramFolder folder(dir.path());
    dir.write("bilder.txt", "Soup\r\n/p/soup.jpg\r\nTart");
    ASSERT_TRUE(addPicture(folder, "Pie", "/p/pie.jpg"));
    EXPECT_EQ(dir.read("bilder.txt"), crlf({"Soup", "/p/soup.jpg", "Tart", "Pie", "/p/pie.jpg"}));
    dir.write("bilder.txt", crlf({"Soup", "/p/soup.jpg", "Tart"}));
    ASSERT_TRUE(setPicture(folder, "Soup", "/p/new.jpg"));
    EXPECT_EQ(dir.read("bilder.txt"), crlf({"Soup", "/p/new.jpg", "Tart"}));
}

}  // namespace
