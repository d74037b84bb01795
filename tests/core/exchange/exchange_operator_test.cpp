#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <set>

#include "core/exchange/exchange_formats.h"
#include "core/exchange/exchange_operator.h"
#include "core/store/cookbook.h"
#include "core/text/text.h"
#include "support/records.h"
#include "support/temp_dir.h"

using namespace culvora;
using namespace culvora::exchange;
using culvora::testing::crlf;
using culvora::testing::readBytes;
using culvora::testing::record;
using culvora::testing::TempDir;
using culvora::testing::writeBytes;
namespace fs = std::filesystem;

namespace {

fs::path deliveredData()
{
    const char* source = std::getenv("CULVORA_SOURCE_DIR");
    return fs::path(source ? source : ".") / "data";
}

std::string sourceFile(std::string_view name)
{
    return readBytes(deliveredData() / name);
}

// The starter tree delivered with the program.
fs::path starter()
{
    return deliveredData() / kStarterFolder;
}

// Every file and folder under a root, files with their bytes.
std::map<std::string, std::string> treeOf(const fs::path& root)
{
    std::map<std::string, std::string> tree;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        tree[fs::relative(entry.path(), root).string()] =
            entry.is_directory() ? "(folder)" : readBytes(entry.path());
    }
    return tree;
}

std::uint64_t fnv1a(std::string_view bytes)
{
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ull;
    }
    return hash;
}

const std::string kUploaded = record({.name = "R\xE5rakor",
                                      .servings = "4",
                                      .time = "30",
                                      .ingredients = {"6 potatoes", "1 egg"},
                                      .steps = {"Grate, fry in butter."},
                                      .type = "Hot dish"});

// A starter tree in a folder of its own.
struct Tree {
    Tree() { EXPECT_TRUE(initExchangeTree(starter(), root())); }
    // A copy of another tree: making one writes and syncs two dozen files.
    explicit Tree(const Tree& from) { fs::copy(from.root(), root(), fs::copy_options::recursive); }
    fs::path root() const { return dir.path() / "exchange"; }
    fs::path tree() const { return root() / "tavendi"; }
    fs::path upload(std::string_view name) const { return tree() / "upload" / name; }
    std::string netIndex(std::string_view folder) const
    {
        return readBytes(tree() / folder / "netindex.txt");
    }

    TempDir dir;
};

class ExchangeTree : public ::testing::Test, protected Tree {};

TEST_F(ExchangeTree, StarterTreeIsWhatTheProgramReads)
{
    const CategoryList network = parseNetwork(readBytes(tree() / "network.txt"));
    ASSERT_TRUE(network.complete) << network.problem;
    EXPECT_TRUE(network.message.starts_with("Welcome")) << network.message;
    EXPECT_TRUE(network.message.ends_with(">\r"));

    std::set<CategoryKind> kinds;
    std::set<std::string> names;
    std::set<std::string> stems;
    const auto types = text::splitLines(sourceFile("typer.txt"));
    const auto deliveredNames = store::listNames(sourceFile("BOOK1.TXT"));
    ASSERT_FALSE(types.empty());
    ASSERT_FALSE(deliveredNames.empty());
    bool swedishLetters = false;
    for (const Category& category : network.categories) {
        kinds.insert(category.kind);
        if (category.kind == CategoryKind::Child) {
            EXPECT_EQ(network.categories[category.parent - 1].kind, CategoryKind::Parent);
        }
        ASSERT_TRUE(checkServerName(category.folder, "folder"));
        const RecipeIndexFile index = parseNetIndex(netIndex(category.folder));
        EXPECT_TRUE(index.complete) << category.folder;
        EXPECT_FALSE(index.recipes.empty()) << category.folder << " is an empty category";
        for (const IndexedRecipe& entry : index.recipes) {
            SCOPED_TRACE(entry.stem);
            EXPECT_EQ(entry.stem.size(), 14u);
            EXPECT_TRUE(stems.insert(entry.stem).second) << "two files share a stem";
            EXPECT_TRUE(names.insert(entry.name).second) << "two recipes share a name";
            const std::string file = readBytes(tree() / category.folder / (entry.stem + ".tvx"));
            auto recipe = parseExchangeRecord(file);
            ASSERT_TRUE(recipe) << recipe.error();
            EXPECT_EQ(recipe->name, entry.name);
            // Byte for byte a cookbook record: CR LF ends only, and the type is a delivered one.
            for (std::size_t at = file.find('\n'); at != std::string::npos;
                 at = file.find('\n', at + 1)) {
                ASSERT_TRUE(at > 0 && file[at - 1] == '\r');
            }
            EXPECT_NE(std::ranges::find(types, text::splitLines(file).back()), types.end());
            // A new user downloading a starter recipe is never asked for another name.
            EXPECT_EQ(std::ranges::find(deliveredNames, entry.name), deliveredNames.end());
            swedishLetters =
                swedishLetters ||
                entry.name.find_first_of("\xE5\xE4\xF6\xC5\xC4\xD6\xE0") != std::string::npos;
        }
    }
    EXPECT_EQ(kinds.size(), 3u) << "network.txt should show \"#!\", \"##\" and \"# \" entries";
    EXPECT_GE(names.size(), 10u);
    EXPECT_LE(names.size(), 15u);
    EXPECT_TRUE(swedishLetters) << "the names should exercise Windows-1252 letters";
    EXPECT_TRUE(fs::is_directory(tree() / "upload"));
    EXPECT_TRUE(fs::is_empty(tree() / "upload"));
}

TEST_F(ExchangeTree, AnEmptyRootGetsTheDeliveredStarterTree)
{
    // The tree exchange-init has always made, file for file: its size and FNV-1a hash.
    struct File {
        std::string_view path;
        std::size_t size;
        std::uint64_t hash;
    };
    const File kTree[] = {
        {"tavendi/network.txt", 335, 0x3955144639053d34ull},
        {"tavendi/baking/20251129141003.tvx", 536, 0x2cb604e6435530a2ull},
        {"tavendi/baking/netindex.txt", 74, 0x7ca8cabbd8edce8eull},
        {"tavendi/bread/20250207080145.tvx", 748, 0x730bda7a0840313cull},
        {"tavendi/bread/20251004103316.tvx", 994, 0xbd5eee52a7203de9ull},
        {"tavendi/bread/20260226162248.tvx", 539, 0xfc61e74781355708ull},
        {"tavendi/bread/netindex.txt", 151, 0x9cb6b57fb34fa155ull},
        {"tavendi/cakes/20250530152741.tvx", 659, 0xedbc9228ef727cbcull},
        {"tavendi/cakes/20260305110422.tvx", 647, 0xc9dd150e0fe70393ull},
        {"tavendi/cakes/netindex.txt", 107, 0x55660450cd68322eull},
        {"tavendi/desserts/20250515193659.tvx", 523, 0x58064cea6feca5ceull},
        {"tavendi/desserts/20251221200310.tvx", 471, 0xe440bf904d75d4d1ull},
        {"tavendi/desserts/netindex.txt", 129, 0x8affe9a684e58298ull},
        {"tavendi/dinners/20250602190114.tvx", 571, 0x0f1b91b24336cffeull},
        {"tavendi/dinners/20251015173822.tvx", 538, 0x09107e86da303967ull},
        {"tavendi/dinners/20260118184530.tvx", 742, 0x63ef1260b5cdfba7ull},
        {"tavendi/dinners/netindex.txt", 148, 0x254ee6cfb84383d8ull},
        {"tavendi/soups/20250310091512.tvx", 736, 0xdc118c9f6ffca31dull},
        {"tavendi/soups/20250421174205.tvx", 654, 0xd78502fed89b5546ull},
        {"tavendi/soups/netindex.txt", 127, 0xdaaee007515507c0ull},
        {"tavendi/stews/20250912183340.tvx", 669, 0x8cdbf02e37b9dc4bull},
        {"tavendi/stews/20251103120957.tvx", 741, 0xc520a3090e2ef67full},
        {"tavendi/stews/netindex.txt", 129, 0x79aae277a8609250ull},
    };
    TempDir empty;
    const fs::path made = empty.path() / "new" / "exchange";
    auto report = initExchangeTree(starter(), made);
    ASSERT_TRUE(report) << report.error().message;
    EXPECT_FALSE(report->existed);
    EXPECT_TRUE(report->madeUploadFolder);
    EXPECT_EQ(report->categories, 7);
    EXPECT_EQ(report->recipes, 15);

    std::map<std::string, std::string> expected = {{"tavendi", "(folder)"},
                                                   {"tavendi/upload", "(folder)"}};
    for (const File& file : kTree) {
        SCOPED_TRACE(file.path);
        const std::string content = readBytes(made / file.path);
        EXPECT_EQ(content.size(), file.size);
        EXPECT_EQ(fnv1a(content), file.hash);
        expected[std::string(file.path)] = content;
        expected[fs::path(file.path).parent_path().string()] = "(folder)";
    }
    // Nothing else, and exactly what is delivered.
    EXPECT_EQ(treeOf(made), expected);
    auto delivered = treeOf(starter());
    delivered["tavendi/upload"] = "(folder)";
    EXPECT_EQ(treeOf(made), delivered);
}

TEST(ExchangeInit, AStarterTreeThatIsNotThereMakesNothing)
{
    TempDir dir;
    fs::create_directories(dir.path() / "starter" / "tavendi" / "soups");
    writeBytes(dir.path() / "starter" / "tavendi" / "network.txt",
               "<\r\n>\r\n# Soups|soups\r\n# Gone|gone\r\n/end\r\n");
    writeBytes(dir.path() / "starter" / "tavendi" / "soups" / "netindex.txt", "/begin\r\n/end\r\n");
    for (const fs::path& from : {dir.path() / "nowhere", dir.path() / "starter"}) {
        SCOPED_TRACE(from.string());
        auto made = initExchangeTree(from, dir.path() / "root");
        ASSERT_FALSE(made);
        EXPECT_TRUE(made.error().message.starts_with("The starter exchange tree delivered with "
                                                     "Culvora"))
            << made.error().message;
        EXPECT_FALSE(fs::exists(dir.path() / "root"));
    }
}

TEST_F(ExchangeTree, InitNeverReplacesTheOperatorsFiles)
{
    writeBytes(tree() / "network.txt", "/end\r\n");
    writeBytes(tree() / "soups" / "netindex.txt", "/begin\r\n/end\r\n");
    fs::remove(tree() / "upload");
    auto again = initExchangeTree(starter(), root());
    ASSERT_TRUE(again);
    EXPECT_TRUE(again->existed);
    EXPECT_TRUE(again->madeUploadFolder);
    EXPECT_EQ(readBytes(tree() / "network.txt"), "/end\r\n");
    EXPECT_EQ(netIndex("soups"), "/begin\r\n/end\r\n");
    EXPECT_TRUE(fs::is_directory(tree() / "upload"));

    // A first start cut short before network.txt: the next one finishes the tree around the
    // files that are there.
    fs::remove(tree() / "network.txt");
    fs::remove_all(tree() / "bread");
    auto finished = initExchangeTree(starter(), root());
    ASSERT_TRUE(finished);
    EXPECT_FALSE(finished->existed);
    EXPECT_EQ(netIndex("soups"), "/begin\r\n/end\r\n");
    EXPECT_TRUE(parseNetIndex(netIndex("bread")).complete);
    EXPECT_TRUE(parseNetwork(readBytes(tree() / "network.txt")).complete);
}

TEST_F(ExchangeTree, PublishMovesTheUploadAndListsItBeforeEnd)
{
    const std::string before = netIndex("desserts");
    writeBytes(upload("20261210143005.tvx"), kUploaded);
    auto published = publishExchangeFile(root(), upload("20261210143005.tvx"), "desserts");
    ASSERT_TRUE(published) << published.error().message;
    EXPECT_EQ(published->name, "R\xE5rakor");
    EXPECT_EQ(published->stem, "20261210143005");
    EXPECT_TRUE(published->warning.empty());
    EXPECT_FALSE(fs::exists(upload("20261210143005.tvx")));
    EXPECT_EQ(readBytes(tree() / "desserts" / "20261210143005.tvx"), kUploaded);

    const std::string expected =
        before.substr(0, before.rfind("/end\r\n")) + "R\xE5rakor|20261210143005\r\n/end\r\n";
    EXPECT_EQ(netIndex("desserts"), expected);
    EXPECT_EQ(parseNetIndex(netIndex("desserts")).recipes.back().dateTime, "2026-12-10  14:30:05");
    // Nothing but the two files is left behind in the category.
    std::set<std::string> files;
    for (const auto& entry : fs::directory_iterator(tree() / "desserts")) {
        files.insert(entry.path().filename().string());
    }
    EXPECT_EQ(files.size(), parseNetIndex(expected).recipes.size() + 1);
}

TEST_F(ExchangeTree, PublishTakesASecondUploadOfTheSameSecond)
{
    // The server stores it beside the first, with a counter; both show the same time.
    writeBytes(upload("20261210143005.tvx"), kUploaded);
    writeBytes(upload("20261210143005-2.tvx"), kUploaded);
    ASSERT_TRUE(publishExchangeFile(root(), upload("20261210143005.tvx"), "desserts"));
    auto second = publishExchangeFile(root(), upload("20261210143005-2.tvx"), "desserts");
    ASSERT_TRUE(second) << second.error().message;
    EXPECT_EQ(second->stem, "20261210143005-2");
    EXPECT_EQ(readBytes(tree() / "desserts" / "20261210143005-2.tvx"), kUploaded);
    const auto recipes = parseNetIndex(netIndex("desserts")).recipes;
    ASSERT_GE(recipes.size(), 2u);
    EXPECT_EQ(recipes.back().stem, "20261210143005-2");
    EXPECT_EQ(recipes.back().dateTime, recipes[recipes.size() - 2].dateTime);
}

TEST_F(ExchangeTree, PublishMendsAnIndexWithoutEndAndStartsAMissingOne)
{
    struct Case {
        std::string index;  // empty: no netindex.txt at all
        std::string expected;
    };
    const Case cases[] = {
        {"", "/begin\r\nR\xE5rakor|20261210143005\r\n/end\r\n"},
        {"Header\r\n/begin\r\nPie|20250101000000\r\n",
         "Header\r\n/begin\r\nPie|20250101000000\r\nR\xE5rakor|20261210143005\r\n/end\r\n"},
        {"/begin\nPie|20250101000000\n/end\nnotes after the end\n",
         "/begin\r\nPie|20250101000000\r\nR\xE5rakor|20261210143005\r\n/end\r\nnotes after the "
         "end\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        fs::remove(tree() / "cakes" / "20261210143005.tvx");
        fs::remove(tree() / "cakes" / "netindex.txt");
        if (!c.index.empty()) writeBytes(tree() / "cakes" / "netindex.txt", c.index);
        writeBytes(upload("20261210143005.tvx"), kUploaded);
        auto published = publishExchangeFile(root(), upload("20261210143005.tvx"), "cakes");
        ASSERT_TRUE(published) << published.error().message;
        EXPECT_EQ(netIndex("cakes"), c.expected);
    }
}

TEST_F(ExchangeTree, PublishRefusesAndChangesNothing)
{
    struct Case {
        std::string_view what;
        std::string file = "20261210143005.tvx";
        std::string folder = "desserts";
        std::string content = kUploaded;
        std::function<void(const Tree&)> prepare = [](const Tree&) {};
        std::string_view message;
    };
    const Case cases[] = {
        {.what = "no time stamp", .file = "rarakor.tvx", .message = "not named like an exchange"},
        {.what = "13 digits", .file = "2026121014300.tvx", .message = "fourteen digits"},
        {.what = "other extension", .file = "20261210143005.txt", .message = "\".tvx\""},
        {.what = "a counter without digits", .file = "20261210143005-.tvx", .message = "\"-2\""},
        {.what = "something else after the time",
         .file = "20261210143005x.tvx",
         .message = "not named like an exchange"},
        {.what = "a counter too long",
         .file = "20261210143005-123456.tvx",
         .message = "not named like an exchange"},
        {.what = "a path for a folder", .folder = "../desserts", .message = "not a plain folder"},
        {.what = "the upload folder", .folder = "upload", .message = "lists no category"},
        {.what = "unlisted folder", .folder = "pies", .message = "its folders are: soups, stews"},
        {.what = "listed but gone",
         .prepare = [](const Tree& t) { fs::remove_all(t.tree() / "desserts"); },
         .message = "is not there"},
        {.what = "cut short",
         .content = crlf({"[NAMN]", "Pie", "[PORTIONER]", "4", "[TID]", "30", "[IND]", "1 egg"}),
         .message = "not one complete recipe record (it ends inside the ingredients)"},
        {.what = "two records", .content = kUploaded + kUploaded, .message = "more than one"},
        {.what = "not a recipe", .content = "<html>\r\n", .message = "not one complete recipe"},
        {.what = "a bar in the name",
         .content = record({.name = "Pie|20250101000000",
                            .servings = "4",
                            .time = "30",
                            .ingredients = {},
                            .steps = {},
                            .type = "Desserts"}),
         .message = "holds a \"|\""},
        {.what = "published already",
         .prepare =
             [](const Tree& t) {
                 writeBytes(t.tree() / "desserts" / "20261210143005.tvx", "earlier\r\n");
             },
         .message = "a published file is never replaced"},
        {.what = "listed already",
         .prepare =
             [](const Tree& t) {
                 writeBytes(t.tree() / "desserts" / "netindex.txt",
                            "/begin\r\nOld|20261210143005\r\n/end\r\n");
             },
         .message = "lists 20261210143005 already"},
        {.what = "index without /begin",
         .prepare =
             [](const Tree& t) {
                 writeBytes(t.tree() / "desserts" / "netindex.txt", "Pie|20250101000000\r\n");
             },
         .message = "has no \"/begin\" line"},
        {.what = "no tree",
         .prepare = [](const Tree& t) { fs::remove(t.tree() / "network.txt"); },
         .message = "make one with exchange-init"},
    };
    const Tree starter;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Tree t(starter);
        c.prepare(t);
        writeBytes(t.upload(c.file), c.content);
        const auto listing = [&] {
            std::set<std::pair<std::string, std::string>> files;
            for (const auto& entry : fs::recursive_directory_iterator(t.root())) {
                // The lock a publisher takes is no content of the tree.
                if (entry.is_regular_file() && entry.path().filename() != "culvora.lock") {
                    files.emplace(entry.path().string(), readBytes(entry.path()));
                }
            }
            return files;
        };
        const auto before = listing();
        auto published = publishExchangeFile(t.root(), t.upload(c.file), c.folder);
        ASSERT_FALSE(published);
        EXPECT_NE(published.error().message.find(c.message), std::string::npos)
            << published.error().message;
        EXPECT_TRUE(published.error().message.ends_with("Nothing was published."))
            << published.error().message;
        EXPECT_EQ(listing(), before);
    }
}

}  // namespace
