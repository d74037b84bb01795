// culvora-cli's exchange commands without a server: usage, refused names, no server there.
// The flows against a real server are in tests/integration.

#include <gtest/gtest.h>

#include "support/cli_runner.h"

using culvora::testing::runCli;
using culvora::testing::TempDir;

namespace {

TEST(CliExchange, UsageRefusalsAndAServerThatIsNotThere)
{
    TempDir dir;
    EXPECT_EQ(runCli(dir.path(), {"exchange"}).exitCode, 2);
    EXPECT_EQ(runCli(dir.path(), {"exchange", "download", "soups", "1"}).exitCode, 2)
        << "--to is needed";
    EXPECT_EQ(runCli(dir.path(), {"exchange", "categories", "--server", "http://x"}).exitCode, 2);

    // Port 1 on this computer: nobody listens there.
    auto down =
        runCli(dir.path(), {"exchange", "categories", "--server", "ftp://culvora@127.0.0.1:1"});
    EXPECT_EQ(down.exitCode, 1);
    // Said once, in plain words: nobody is there to answer the window's question.
    EXPECT_EQ(down.err,
              "culvora-cli: The exchange server at 127.0.0.1:1 could not be reached (12029).\n");
    EXPECT_EQ(down.out, "");
    // A recipe or a cookbook that is not there needs no server to say so.
    auto upload =
        runCli(dir.path(), {"exchange", "upload", "Nope", "--server", "ftp://culvora@127.0.0.1:1"});
    EXPECT_EQ(upload.exitCode, 1);
    EXPECT_NE(upload.err.find("\"Nope\""), std::string::npos) << upload.err;
    auto download = runCli(dir.path(), {"exchange", "download", "soups", "1", "--to", "Nope",
                                        "--server", "ftp://culvora@127.0.0.1:1"});
    EXPECT_EQ(download.exitCode, 1);
    EXPECT_EQ(download.err, "culvora-cli: There is no cookbook called \"Nope\".\n");
}

}  // namespace
