#include <gtest/gtest.h>

#include "core/exchange/exchange_formats.h"
#include "core/exchange/exchange_settings.h"
#include "support/records.h"
#include "support/temp_dir.h"

using namespace culvora;
using namespace culvora::exchange;
using culvora::testing::crlf;
using culvora::testing::record;
using culvora::testing::TempDir;

namespace {

const std::string kSoup = record({.name = "Soup",
                                  .servings = "4",
                                  .time = "30",
                                  .ingredients = {"water", "Pancakes"},
                                  .steps = {"boil"},
                                  .type = "Soups"});
const std::string kPancakes = record({.name = "Pancakes",
                                      .servings = "2",
                                      .time = "20",
                                      .ingredients = {"3 dl milk", ""},
                                      .steps = {"fry"},
                                      .type = "Sweet"});

TEST(ExchangeFiles, NamesAndRecords)
{
    EXPECT_EQ(exchangeFileName({2026, 1, 2, 3, 4, 5}), "20260102030405.tvx");
    EXPECT_EQ(exchangeFileName({2026, 12, 10, 23, 59, 59}), "20261210235959.tvx");
    // Pancakes is also an ingredient line of Soup: the copy starts at its own name line.
    EXPECT_EQ(exchangeRecord(kSoup + kPancakes, "Pancakes"), kPancakes);
    // The last record is copied to the end of the file; a lone "[NAMN]" at the end stops it.
    EXPECT_EQ(exchangeRecord(kPancakes + kSoup, "Soup"), kSoup);
    EXPECT_EQ(exchangeRecord(kSoup + "[NAMN]\r\n", "Soup"), kSoup);
    EXPECT_EQ(exchangeRecord(kSoup, "water"), std::nullopt);
}

TEST(ExchangeFiles, OnlyACompleteRecordIsARecipe)
{
    auto recipe = readExchangeFile(kPancakes);
    ASSERT_TRUE(recipe);
    EXPECT_EQ(recipe->name, "Pancakes");
    EXPECT_EQ(recipe->ingredients, (std::vector<std::string>{"3 dl milk"}));
    EXPECT_EQ("[NAMN]\r\n" + recipe->lines, kPancakes);
    EXPECT_EQ(renamedRecord(*recipe, "Crepes"), kPancakes.substr(8).replace(0, 8, "Crepes"));

    const std::string cut = kPancakes.substr(0, kPancakes.size() - 7);  // the type line lost
    // A type line reading "[NAMN]" would start a second record in the cookbook.
    const std::string typeAsTag = crlf({"[NAMN]", "A", "[PORTIONER]", "4", "[TID]", "6", "[IND]",
                                        "x", "[G\xD6RA]", "[TYP]", "[NAMN]", "B"});
    for (const std::string& bad :
         {std::string(), cut, kPancakes.substr(0, 40), kPancakes + kSoup, typeAsTag,
          std::string("<html>404</html>\r\n"), std::string("[NAMN]\r\nX\r\n\0\r\n", 13)}) {
        auto refused = readExchangeFile(bad);
        ASSERT_FALSE(refused) << bad;
        EXPECT_NE(refused.error().message.find("Nothing was added"), std::string::npos);
    }
    // A record without a final line end is still whole.
    EXPECT_TRUE(readExchangeFile(kPancakes.substr(0, kPancakes.size() - 2)));
}

TEST(ExchangeFiles, TakenNames)
{
    // Taken means a recipe of that name; "water" inside Soup does not count.
    EXPECT_TRUE(nameTaken(kSoup, "Soup"));
    EXPECT_FALSE(nameTaken(kSoup, "water"));
    EXPECT_FALSE(nameTaken(kSoup, "Sou"));
}

TEST(ExchangeFiles, ServerNamesAreNeverPaths)
{
    for (std::string_view good : {"soups", "20261210143005", "Soppor och grytor", "a.b"}) {
        EXPECT_TRUE(checkServerName(good, "category folder")) << good;
    }
    for (std::string_view bad : {"", "../x", "..", "a/b", "a\\b", "C:", "x\x01", "/etc"}) {
        EXPECT_FALSE(checkServerName(bad, "category folder")) << bad;
    }
}

TEST(NetworkList, MessageEntriesAndLimits)
{
    auto list = parseNetwork(crlf({"<", "Welcome!", "Be nice.", ">", "#!Soups|soups",
                                   "# Bread|bread", "##Cold soups|cold", "just a comment",
                                   "#!Cakes|cakes", "##Tarts|tarts|x", "/end", "# After|after"}));
    EXPECT_TRUE(list.complete);
    EXPECT_EQ(list.message, "Welcome!\rBe nice.\r>\r");
    ASSERT_EQ(list.categories.size(), 5u);
    EXPECT_EQ(list.categories[0].kind, CategoryKind::Parent);
    EXPECT_EQ(list.categories[1].kind, CategoryKind::Top);
    // A "# " entry between a "#!" and a "##" leaves the "##" with the "#!".
    EXPECT_EQ(list.categories[2].name, "Cold soups");
    EXPECT_EQ(list.categories[2].parent, 1);
    EXPECT_EQ(list.categories[4].folder, "tarts|x");
    EXPECT_EQ(list.categories[4].parent, 4);

    // The first line is only compared with "<": an entry there is skipped.
    list = parseNetwork(crlf({"#!Soups|soups", "# Bread|bread", "/end"}));
    EXPECT_EQ(list.message, "");
    ASSERT_EQ(list.categories.size(), 1u);
    EXPECT_EQ(list.categories[0].name, "Bread");

    struct Stop {
        std::string content;
        std::size_t kept;
    };
    std::string many = "x\r\n";
    for (int i = 0; i < 101; ++i)
        many += "# C" + std::to_string(i) + "|c" + std::to_string(i) + "\r\n";
    const Stop stops[] = {
        {crlf({"x", "# Bread|bread", "##Orphan|orphan", "# Late|late", "/end"}), 1},
        {crlf({"x", "# Bread|bread", "# No bar", "/end"}), 1},
        {crlf({"x", "# Bread|bread"}), 1},
        {crlf({"<", "never closed", "# Bread|bread"}), 0},
        {many + "/end\r\n", 100},
        {"", 0},
        // A line longer than any category could need stops the list as a broken line does.
        {crlf({"x", "# Bread|bread", "# Long|" + std::string(kMaxIndexLine, 'x'), "# Late|late",
               "/end"}),
         1},
    };
    for (const Stop& stop : stops) {
        list = parseNetwork(stop.content);
        EXPECT_FALSE(list.complete) << stop.content;
        EXPECT_FALSE(list.problem.empty());
        EXPECT_EQ(list.categories.size(), stop.kept) << stop.content;
    }
    // The problem quotes a runaway line shortly, with its control characters shown.
    list = parseNetwork("x\r\n# \x1B[2J" + std::string(500, 'y') + "\r\n/end\r\n");
    EXPECT_EQ(list.problem,
              "the line \"# \\x1B[2J" + std::string(74, 'y') + "\u2026\" has no \"|\"");

    // A message block of megabytes keeps its first lines and its ">".
    std::string chatty = "<\r\n";
    for (int i = 0; i < 1000; ++i) chatty += std::string(99, 'm') + "\r\n";
    list = parseNetwork(chatty + ">\r\n# Bread|bread\r\n/end\r\n");
    EXPECT_TRUE(list.complete);
    EXPECT_EQ(list.message.size(), 40 * 100 + 2u);
    EXPECT_TRUE(list.message.ends_with("m\r>\r"));
    ASSERT_EQ(list.categories.size(), 1u);
}

TEST(NetIndex, EntriesAndDates)
{
    auto index =
        parseNetIndex(crlf({"Soups of the world", "/begin", "Pea soup|20261210143005", "Short|2024",
                            "Pipe|in|name", "/end", "After|20260101000000"}));
    EXPECT_TRUE(index.complete);
    ASSERT_EQ(index.recipes.size(), 3u);
    EXPECT_EQ(index.recipes[0].dateTime, "2026-12-10  14:30:05");
    EXPECT_EQ(index.recipes[1].dateTime, "2024--  ::");
    EXPECT_EQ(index.recipes[1].stem, "2024");
    EXPECT_EQ(index.recipes[2].name, "Pipe");
    EXPECT_EQ(index.recipes[2].stem, "in|name");

    index = parseNetIndex(crlf({"/begin", "Pea soup|20261210143005", "no bar", "Later|1"}));
    EXPECT_FALSE(index.complete);
    EXPECT_EQ(index.recipes.size(), 1u);
    index = parseNetIndex(crlf({"Pea soup|20261210143005"}));
    EXPECT_FALSE(index.complete);
    EXPECT_TRUE(index.recipes.empty());

    // A runaway line, and a list past the limit, stop the reading as a broken line does.
    index = parseNetIndex(crlf({"/begin", "Pea soup|20261210143005",
                                std::string(kMaxIndexLine, 'n') + "|1", "Later|1", "/end"}));
    EXPECT_FALSE(index.complete);
    EXPECT_EQ(index.recipes.size(), 1u);
    std::string many = "/begin\r\n";
    for (std::size_t i = 0; i <= kMaxIndexEntries; ++i) many += "R|" + std::to_string(i) + "\r\n";
    index = parseNetIndex(many + "/end\r\n");
    EXPECT_FALSE(index.complete);
    EXPECT_EQ(index.recipes.size(), kMaxIndexEntries);
    EXPECT_EQ(netIndexLine("Pea soup", "20261210143005"), "Pea soup|20261210143005");
}

TEST(ExchangeSettings, FileAndAddress)
{
    ExchangeSettings defaults = parseExchangeSettings("");
    EXPECT_EQ(defaults.host, "127.0.0.1");
    EXPECT_EQ(defaults.port, 2121);
    EXPECT_EQ(defaults.user, "culvora");
    EXPECT_EQ(defaults.password, "wobak");
    auto settings =
        parseExchangeSettings("server = ftp.example.org\r\nport=99999\r\nuser=cook\r\n");
    EXPECT_EQ(settings.host, "ftp.example.org");
    EXPECT_EQ(settings.port, 2121) << "a port out of range keeps the default";
    EXPECT_EQ(settings.user, "cook");
    auto address = settingsFromAddress("ftp://anna@10.0.0.5:2200");
    ASSERT_TRUE(address);
    EXPECT_EQ(address->host, "10.0.0.5");
    EXPECT_EQ(address->port, 2200);
    EXPECT_EQ(address->user, "anna");
    EXPECT_EQ(settingsFromAddress("ftp://example.org")->port, 2121);
    EXPECT_FALSE(settingsFromAddress("http://example.org"));
    EXPECT_FALSE(settingsFromAddress("ftp://host:port"));
}

TEST(ExchangeSettings, TimeLimitsAndEncryption)
{
    // Patient enough for a recipe over a poor line; encryption taken when a server offers it.
    const ExchangeSettings defaults = parseExchangeSettings("");
    EXPECT_EQ(defaults.limits.connectTimeout, 10);
    EXPECT_EQ(defaults.limits.minimumRate, 1024);
    EXPECT_EQ(defaults.limits.slowTime, 20);
    EXPECT_EQ(defaults.limits.transferTimeout, 120);
    EXPECT_EQ(defaults.tls, TlsMode::Try);
    EXPECT_EQ(defaults.caFile, "");

    auto set = parseExchangeSettings("connect_timeout=5\r\nminimum_rate=200\r\nslow_time=60\r\n"
                                     "transfer_timeout=600\r\nTLS = Required\r\n"
                                     "ca=/etc/culvora/exchange-ca.pem\r\n");
    EXPECT_EQ(set.limits.connectTimeout, 5);
    EXPECT_EQ(set.limits.minimumRate, 200);
    EXPECT_EQ(set.limits.slowTime, 60);
    EXPECT_EQ(set.limits.transferTimeout, 600);
    EXPECT_EQ(set.tls, TlsMode::Required);
    EXPECT_EQ(set.caFile, "/etc/culvora/exchange-ca.pem");
    EXPECT_EQ(parseExchangeSettings("tls=off").tls, TlsMode::Off);

    // Nonsense keeps the default: no limit of zero, which libcurl would read as none at all.
    auto bad = parseExchangeSettings("connect_timeout=0\r\nminimum_rate=-5\r\nslow_time=x\r\n"
                                     "transfer_timeout=\r\ntls=sometimes\r\n");
    EXPECT_EQ(bad.limits.connectTimeout, 10);
    EXPECT_EQ(bad.limits.minimumRate, 1024);
    EXPECT_EQ(bad.limits.slowTime, 20);
    EXPECT_EQ(bad.limits.transferTimeout, 120);
    EXPECT_EQ(bad.tls, TlsMode::Try);

    // A bare certificate file name lies in the data folder.
    TempDir data;
    data.write("exchange.ini", "tls=required\r\nca=exchange-ca.pem\r\n");
    auto read = readExchangeSettings(ProgramFolder(data.path()));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->caFile, (data.path() / "exchange-ca.pem").string());
}

}  // namespace
