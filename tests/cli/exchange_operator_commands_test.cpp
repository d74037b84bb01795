// culvora-cli's commands for the operator of an exchange server.

#include <gtest/gtest.h>

#include "support/cli_runner.h"
#include "support/records.h"

using culvora::testing::crlf;
using culvora::testing::readBytes;
using culvora::testing::record;
using culvora::testing::runCli;
using culvora::testing::TempDir;
using culvora::testing::writeBytes;

namespace {

const std::string kUploaded = record({.name = "R\xE5rakor",
                                      .servings = "4",
                                      .time = "30",
                                      .ingredients = {"6 potatoes"},
                                      .steps = {"Grate, fry."},
                                      .type = "Hot dish"});

TEST(CliExchangeOperator, InitThenPublishAnUpload)
{
    TempDir data;
    TempDir server;
    const auto root = server.file("exchange root");
    const std::string tree = (root / "tavendi").string();

    auto init = runCli(data, {"exchange-init", "--root", root.string()});
    EXPECT_EQ(init.exitCode, 0) << init.err;
    EXPECT_EQ(init.out, "Made the exchange tree in " + tree +
                            ": 7 categories with 15 recipes, and the upload folder upload/.\n");
    auto again = runCli(data, {"exchange-init", "--root", root.string()});
    EXPECT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(again.out,
              "The exchange tree in " + tree + " is there already; it was left as it is.\n");

    const auto upload = root / "tavendi" / "upload" / "20261210143005.tvx";
    writeBytes(upload, kUploaded);
    auto published =
        runCli(data, {"exchange-publish", "--root", root.string(), upload.string(), "dinners"});
    EXPECT_EQ(published.exitCode, 0) << published.err;
    EXPECT_EQ(published.out,
              "Published \"R\xC3\xA5rakor\" in dinners: " + tree + "/dinners/20261210143005.tvx\n");
    EXPECT_EQ(readBytes(root / "tavendi" / "dinners" / "20261210143005.tvx"), kUploaded);
    EXPECT_TRUE(readBytes(root / "tavendi" / "dinners" / "netindex.txt")
                    .ends_with("R\xE5rakor|20261210143005\r\n/end\r\n"));

    // The same file again: the category has it, so it is refused and stays where it is.
    writeBytes(upload, kUploaded);
    auto twice =
        runCli(data, {"exchange-publish", upload.string(), "dinners", "--root", root.string()});
    EXPECT_EQ(twice.exitCode, 1);
    EXPECT_EQ(twice.err, "culvora-cli: \"dinners\" holds \"20261210143005.tvx\" already; a "
                         "published file is never replaced. Nothing was published.\n");
    EXPECT_EQ(readBytes(upload), kUploaded);
}

TEST(CliExchangeOperator, UsageErrors)
{
    TempDir data;
    const std::vector<std::vector<std::string>> wrong = {
        {"exchange-init"},
        {"exchange-init", "--root"},
        {"exchange-init", "--root", "/tmp/x", "extra"},
        {"exchange-init", "--root", "/tmp/x", "--port", "21"},
        {"exchange-publish", "--root", "/tmp/x", "20261210143005.tvx"},
        {"exchange-publish", "20261210143005.tvx", "desserts"},
    };
    for (const auto& args : wrong) {
        auto run = runCli(data, args);
        EXPECT_EQ(run.exitCode, 2) << args.back();
        EXPECT_NE(run.err.find("\nusage: culvora-cli " + args.front()), std::string::npos)
            << run.err;
    }
}

}  // namespace
