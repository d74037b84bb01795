// The recipe exchange end to end through culvora-cli and a real server: the categories and
// recipes, downloads into a cookbook, an upload that the operator publishes and that comes back
// byte for byte, and what happens when the server is not there, refuses, dies, hangs or hands
// us a bad index or a cut file.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <unistd.h>

#include "support/exchange_server.h"
#include "support/records.h"
#include "support/scoped_env.h"

using namespace culvora::testing;
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kLoafStem = "20250207080145";  // bread: "Overnight country loaf"

// A user's data folder with an empty second cookbook, "Exchange finds" in FINDS.TXT.
struct Kitchen {
    Kitchen()
    {
        auto made = runCli(data, {"new-book", "Exchange finds", "FINDS.TXT"});
        EXPECT_EQ(made.exitCode, 0) << made.err;
    }
    CliRun exchange(const std::string& address, std::vector<std::string> args) const
    {
        args.insert(args.begin(), "exchange");
        args.insert(args.end(), {"--server", address});
        return runCli(data, args);
    }
    CliRun download(const std::string& address, std::string_view folder, std::string_view stem,
                    std::vector<std::string> more = {}) const
    {
        std::vector<std::string> args = {"download", std::string(folder), std::string(stem), "--to",
                                         "Exchange finds"};
        args.insert(args.end(), more.begin(), more.end());
        return exchange(address, args);
    }
    std::string finds() const { return data.read("FINDS.TXT"); }
    // Exchange files and index files left behind in the data folder.
    std::vector<std::string> leftovers() const
    {
        std::vector<std::string> left;
        for (const auto& entry : fs::directory_iterator(data.path())) {
            const std::string name = entry.path().filename().string();
            if (name.ends_with(".tvx") || name == "netindex.txt" || name == "network.txt") {
                left.push_back(name);
            }
        }
        return left;
    }

    TempDir data;
};

// culvora-cli reads and writes UTF-8; the files hold Windows-1252, here only Latin-1 letters.
std::string latin1ToUtf8(std::string_view latin1)
{
    std::string utf8;
    for (char c : latin1) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            utf8 += c;
        } else {
            utf8 += static_cast<char>(0xC0 | (byte >> 6));
            utf8 += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return utf8;
}

std::string exchangeFile(const fs::path& tree, std::string_view folder, std::string_view stem)
{
    return readBytes(tree / folder / (std::string(stem) + ".tvx"));
}

TEST(ExchangeCliFlows, CategoriesAndRecipes)
{
    const SharedExchange shared = sharedExchange();
    const Kitchen kitchen;
    auto categories = kitchen.exchange(shared.address(), {"categories"});
    EXPECT_EQ(categories.exitCode, 0) << categories.err;
    EXPECT_EQ(categories.out, "Soups and stews\tsoups\n"
                              "  Stews\tstews\n"
                              "Everyday dinners\tdinners\n"
                              "Baking\tbaking\n"
                              "  Bread\tbread\n"
                              "  Cakes\tcakes\n"
                              "Desserts\tdesserts\n"
                              "\n"
                              "Welcome to the Culvora recipe exchange!\n"
                              "Double-click a category, then a recipe to add it to one of "
                              "your cookbooks.\n"
                              "Recipes you send in are read by a person and published within a "
                              "day.\n"
                              ">\n");
    EXPECT_EQ(categories.err, "");

    auto recipes = kitchen.exchange(shared.address(), {"recipes", "bread"});
    EXPECT_EQ(recipes.exitCode, 0) << recipes.err;
    EXPECT_EQ(recipes.out, "Overnight country loaf\t2025-02-07  08:01:45\t20250207080145\n"
                           "Kardemummabullar\t2025-10-04  10:33:16\t20251004103316\n"
                           "Quick soda bread\t2026-02-26  16:22:48\t20260226162248\n");
    EXPECT_EQ(kitchen.leftovers(), std::vector<std::string>{});
}

TEST(ExchangeCliFlows, DownloadIntoAnotherCookbookWithAndWithoutANameClash)
{
    const SharedExchange shared = sharedExchange();
    const Kitchen kitchen;
    const std::string loaf = exchangeFile(shared.tree(), "bread", kLoafStem);
    const std::string standard = kitchen.data.read("BOOK1.TXT");

    auto first = kitchen.download(shared.address(), "bread", kLoafStem);
    EXPECT_EQ(first.exitCode, 0) << first.err;
    EXPECT_EQ(first.out, "Download successful!\n");
    EXPECT_EQ(kitchen.finds(), loaf);

    // Without --name a taken name gives way to the first free numbered one, and that is said.
    auto clash = kitchen.download(shared.address(), "bread", kLoafStem);
    EXPECT_EQ(clash.exitCode, 0) << clash.err;
    EXPECT_EQ(clash.out, "The cookbook already holds a recipe named \"Overnight country loaf\", "
                         "so this one was added as \"Overnight country loaf (2)\".\n"
                         "Download successful!\n");
    std::string numbered = loaf;
    numbered.replace(numbered.find("Overnight country loaf"), 22, "Overnight country loaf (2)");
    EXPECT_EQ(kitchen.finds(), loaf + numbered);

    // A name given with --name is the one answer: taken, nothing is added.
    auto takenName = kitchen.download(shared.address(), "bread", kLoafStem,
                                      {"--name", "Overnight country loaf"});
    EXPECT_EQ(takenName.exitCode, 1);
    EXPECT_EQ(takenName.err, "culvora-cli: The cookbook already holds a recipe named \"Overnight "
                             "country loaf\". Give it another name with --name.\n");
    EXPECT_EQ(kitchen.finds(), loaf + numbered);

    auto renamed = kitchen.download(shared.address(), "bread", kLoafStem,
                                    {"--name", latin1ToUtf8("Weekend loaf, r\xE5g")});
    EXPECT_EQ(renamed.exitCode, 0) << renamed.err;
    EXPECT_EQ(renamed.out, "Download successful!\n");
    std::string second = loaf;
    second.replace(second.find("Overnight country loaf"), 22, "Weekend loaf, r\xE5g");
    EXPECT_EQ(kitchen.finds(), loaf + numbered + second);
    EXPECT_EQ(kitchen.data.read("BOOK1.TXT"), standard) << "only the chosen cookbook changes";
    EXPECT_EQ(kitchen.leftovers(), std::vector<std::string>{});
}

TEST(ExchangeCliFlows, DownloadIntoACookbookThatEndsWithALoneNamnLine)
{
    const SharedExchange shared = sharedExchange();
    const Kitchen kitchen;
    const std::string kept = record({.name = "Toast",
                                     .servings = "1",
                                     .time = "5",
                                     .ingredients = {"bread"},
                                     .steps = {"Toast it."},
                                     .type = "Standard"});
    // What deleting the last recipe of a cookbook leaves behind.
    kitchen.data.write("FINDS.TXT", kept + "[NAMN]\r\n");
    auto downloaded = kitchen.download(shared.address(), "cakes", "20250530152741");
    EXPECT_EQ(downloaded.exitCode, 0) << downloaded.err;
    EXPECT_EQ(kitchen.finds(), kept + exchangeFile(shared.tree(), "cakes", "20250530152741"));
    EXPECT_EQ(runCli(kitchen.data, {"--book", "FINDS.TXT", "list"}).out, "Toast\nKladdkaka\n");
}

TEST(ExchangeCliFlows, UploadPublishDownloadGivesBackTheSameRecord)
{
    const SharedExchange shared = sharedExchange();
    const Kitchen kitchen;
    // A name of this run only: other tests upload to the same server.
    const std::string name = std::string("Sill med gr\xE4") + "ddfil " + std::to_string(::getpid());
    const std::string record = culvora::testing::record(
        {.name = name,
         .servings = "4",
         .time = "10",
         .ingredients = {"4 pickled herring fillets", "2 dl sour cream", "1 red onion", ""},
         .steps = {"Mix the cream with the onion.", "Serve with new potatoes and dill."},
         .type = "Standard"});
    auto added = runCli(kitchen.data, {"add"}, latin1ToUtf8(record));
    ASSERT_EQ(added.exitCode, 0) << added.err;
    const std::string book = kitchen.data.read("BOOK1.TXT");
    ASSERT_TRUE(book.ends_with(record.substr(8)));

    const std::string utf8Name = latin1ToUtf8(name);
    auto uploaded = kitchen.exchange(shared.address(), {"upload", utf8Name});
    EXPECT_EQ(uploaded.exitCode, 0) << uploaded.err;
    EXPECT_TRUE(uploaded.out.ends_with("Thank you! Your recipe will be online within 24 hours.\n"))
        << uploaded.out;
    EXPECT_EQ(kitchen.leftovers(), std::vector<std::string>{});
    fs::path sent;
    for (const auto& entry : fs::directory_iterator(shared.tree() / "upload")) {
        if (readBytes(entry.path()).find(name) != std::string::npos) sent = entry.path();
    }
    ASSERT_FALSE(sent.empty()) << "the upload is not in tavendi/upload";
    // The program names the file it sent, so the cook can tell the operator which one it is.
    EXPECT_EQ(uploaded.out.substr(0, uploaded.out.find('\n')),
              "Sent as " + sent.filename().string() + ".");
    EXPECT_EQ(readBytes(sent), record);

    auto published = runCli(kitchen.data, {"exchange-publish", "--root", shared.root.string(),
                                           sent.string(), "desserts"});
    EXPECT_EQ(published.exitCode, 0) << published.err;
    const std::string stem = sent.stem().string();
    auto listed = kitchen.exchange(shared.address(), {"recipes", "desserts"});
    const std::string line = utf8Name + "\t" + stem.substr(0, 4) + "-" + stem.substr(4, 2) + "-" +
                             stem.substr(6, 2) + "  " + stem.substr(8, 2) + ":" +
                             stem.substr(10, 2) + ":" + stem.substr(12, 2) + "\t" + stem + "\n";
    EXPECT_NE(listed.out.find(line), std::string::npos) << listed.out;

    auto downloaded = kitchen.download(shared.address(), "desserts", stem);
    EXPECT_EQ(downloaded.exitCode, 0) << downloaded.err;
    EXPECT_EQ(kitchen.finds(), record);
}

TEST(ExchangeCliFlows, AServerThatIsNotRunning)
{
    TempDir dir;
    makeStarterTree(dir.path());
    ExchangeServer gone(dir.path());
    const std::string address = gone.address();
    const int port = gone.port();
    gone.stop();
    const Kitchen kitchen;
    auto categories = kitchen.exchange(address, {"categories"});
    EXPECT_EQ(categories.exitCode, 1);
    EXPECT_EQ(categories.err, "culvora-cli: The exchange server at 127.0.0.1:" +
                                  std::to_string(port) + " could not be reached (12029).\n");
    auto download = kitchen.download(address, "bread", kLoafStem);
    EXPECT_EQ(download.exitCode, 1);
    EXPECT_EQ(kitchen.finds(), "");
}

TEST(ExchangeCliFlows, AFolderChangeRefusedWithTheServersReply)
{
    const SharedExchange shared = sharedExchange();
    const Kitchen kitchen;
    // Said once, in plain words with the server's reply; nothing follows from it.
    const std::string refused = "culvora-cli: The exchange server has no category \"pies\" (550 "
                                "No such file or directory).\n";
    auto recipes = kitchen.exchange(shared.address(), {"recipes", "pies"});
    EXPECT_EQ(recipes.exitCode, 1);
    EXPECT_EQ(recipes.err, refused);
    EXPECT_EQ(recipes.out, "");
    // The connection is closed after the failure, so the file is not fetched from elsewhere.
    auto download = kitchen.download(shared.address(), "pies", kLoafStem);
    EXPECT_EQ(download.exitCode, 1);
    EXPECT_EQ(download.err, refused);
    EXPECT_EQ(kitchen.finds(), "");
    EXPECT_EQ(kitchen.leftovers(), std::vector<std::string>{});
}

TEST(ExchangeCliFlows, TheServerKilledDuringATransfer)
{
    TempDir dir;
    makeStarterTree(dir.path());
    ExchangeServer dying(dir.path(),
                         ExchangeServer::Options::dyingDuring(std::string(kLoafStem) + ".tvx"));
    const Kitchen kitchen;
    auto download = kitchen.download(dying.address(), "bread", kLoafStem);
    EXPECT_FALSE(dying.running()) << "the server should have died sending the file";
    EXPECT_EQ(download.exitCode, 1);
    EXPECT_EQ(download.err, "culvora-cli: The connection to the exchange server at 127.0.0.1:" +
                                std::to_string(dying.port()) + " broke off (12030).\n");
    EXPECT_EQ(kitchen.finds(), "");
    EXPECT_EQ(kitchen.leftovers(), std::vector<std::string>{});
}

TEST(ExchangeCliFlows, AFrozenServerEndsInTheTimeLimit)
{
    const ScopedEnv limit("CULVORA_EXCHANGE_TIMEOUT", "2");
    struct Case {
        std::string_view what;
        ExchangeServer::Options options;
        bool freezeFirst;
        std::vector<std::string> args;
    };
    const std::string loafFile = std::string(kLoafStem) + ".tvx";
    const Case cases[] = {
        {"before the greeting", {}, true, {"categories"}},
        {"in the middle of a file",
         ExchangeServer::Options::freezingDuring(loafFile),
         false,
         {"download", "bread", std::string(kLoafStem), "--to", "Exchange finds"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        makeStarterTree(dir.path());
        ExchangeServer frozen(dir.path(), c.options);
        if (c.freezeFirst) frozen.freeze();
        const Kitchen kitchen;
        const auto start = std::chrono::steady_clock::now();
        auto run = kitchen.exchange(frozen.address(), c.args);
        const auto waited = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err,
                  "culvora-cli: The exchange server at 127.0.0.1:" + std::to_string(frozen.port()) +
                      " did not answer in time (12002). The server sent too little for too "
                      "long; try again later or ask its operator.\n");
        // The limit, not the usual 30 seconds, and not for ever.
        EXPECT_GE(waited, std::chrono::seconds(2));
        EXPECT_LT(waited, std::chrono::seconds(20));
        EXPECT_EQ(kitchen.finds(), "");
        EXPECT_EQ(kitchen.leftovers(), std::vector<std::string>{});
    }
}

TEST(ExchangeCliFlows, ABadIndexAndACutFileChangeNothing)
{
    TempDir dir;
    makeStarterTree(dir.path());
    const fs::path tree = dir.path() / "tavendi";
    // A stem that leads out of the category to a file that is a good recipe: only the check
    // of the name keeps it from being fetched.
    const std::string secret = exchangeFile(tree, "cakes", "20250530152741");
    writeBytes(dir.path() / "secret.tvx", secret);
    const std::string index = readBytes(tree / "bread" / "netindex.txt");
    writeBytes(tree / "bread" / "netindex.txt",
               index.substr(0, index.rfind("/end")) + "Secret|../../secret\r\n/end\r\n");
    const std::string loaf = exchangeFile(tree, "bread", kLoafStem);
    writeBytes(tree / "bread" / (std::string(kLoafStem) + ".tvx"),
               loaf.substr(0, loaf.find("1 dl wholemeal flour")));
    ExchangeServer server(dir.path());
    const Kitchen kitchen;

    auto listed = kitchen.exchange(server.address(), {"recipes", "bread"});
    EXPECT_EQ(listed.exitCode, 0) << listed.err;
    EXPECT_NE(listed.out.find("Secret\t"), std::string::npos) << listed.out;
    auto traversal = kitchen.download(server.address(), "bread", "../../secret");
    EXPECT_EQ(traversal.exitCode, 1);
    EXPECT_EQ(traversal.err, "culvora-cli: The server named a recipe file \"../../secret\" that "
                             "is not a plain name, so nothing was fetched.\n");

    auto cut = kitchen.download(server.address(), "bread", kLoafStem);
    EXPECT_EQ(cut.exitCode, 1);
    EXPECT_EQ(cut.err, "culvora-cli: The recipe file from the server is not one complete recipe "
                       "(it ends inside the ingredients). Nothing was added to the cookbook.\n");
    EXPECT_EQ(kitchen.finds(), "");
    EXPECT_EQ(kitchen.leftovers(), std::vector<std::string>{});
    EXPECT_FALSE(fs::exists(kitchen.data.path().parent_path() / "secret.tvx"));
}

}  // namespace
