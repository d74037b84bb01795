#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>

#include "core/exchange/ftp_session.h"
#include "core/exchange/upload.h"
#include "support/fake_ftp_client.h"
#include "support/records.h"
#include "support/temp_dir.h"

using namespace culvora;
using namespace culvora::exchange;
using culvora::testing::crlf;
using culvora::testing::FakeFtpClient;
using culvora::testing::FakeFtpServer;
using culvora::testing::record;
using culvora::testing::TempDir;
namespace fs = std::filesystem;

namespace {

// "Pancakes" is also an ingredient line of the soup before it.
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

class SilentPrompts : public SessionPrompts {
public:
    void message(const std::string&) override {}
    bool askYesNo(const std::string&) override { return false; }
};

std::vector<std::string> filesIn(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::ranges::sort(names);
    return names;
}

TEST(Upload, TheExchangeFileIsMadeInMemoryAndSentFromThere)
{
    TempDir dir;
    const ProgramFolder folder(dir.path());
    // The last recipe of the book, which ends with a lone [NAMN]: the copy stops there.
    dir.write("BOOK1.TXT", kSoup + kPancakes + "[NAMN]\r\n");
    const auto before = filesIn(dir.path());

    auto file = WriteExchangeFile(folder, "BOOK1.TXT", "Pancakes", {2026, 12, 10, 14, 30, 5});
    ASSERT_TRUE(file) << file.error().message;
    EXPECT_EQ(file->name, "20261210143005.tvx");
    EXPECT_EQ(file->content, kPancakes);
    auto last = WriteExchangeFile(folder, "BOOK1.TXT", "Soup", {2026, 12, 10, 14, 30, 6});
    ASSERT_TRUE(last);
    EXPECT_EQ(last->content, kSoup);

    auto missing = WriteExchangeFile(folder, "BOOK1.TXT", "Stew", {2026, 12, 10, 14, 30, 7});
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().code, ErrorCode::NotFound);
    EXPECT_EQ(missing.error().message,
              "The recipe \"Stew\" is not in the cookbook, so there is nothing to send.");
    EXPECT_FALSE(WriteExchangeFile(folder, "../BOOK1.TXT", "Soup", {2026, 12, 10, 14, 30, 8}));

    auto server = std::make_shared<FakeFtpServer>();
    server->folders["/tavendi/upload"] = {};
    SilentPrompts prompts;
    FtpSession session(std::make_unique<FakeFtpClient>(server), prompts);
    session.server = "exchange.example.org";
    session.OpenSession();
    session.Connect();
    ASSERT_TRUE(session.ChangeFolder(std::string(kUploadFolder)));
    ASSERT_TRUE(session.PutFile(file->content, file->name));
    EXPECT_EQ(server->filesIn("/tavendi/upload"),
              (std::map<std::string, std::string>{{"20261210143005.tvx", kPancakes}}));
    // Nothing of it was ever in the data folder.
    EXPECT_EQ(filesIn(dir.path()), before);
}

}  // namespace
