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
    EXPECT_EQ(down.err, "culvora-cli: InternetConnect Err: 12029 Close Connection and Session?\n");
}

}  // namespace
