// The servers the flow tests run against: the fixture's shared one, and a test's own that can
// be frozen.

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include "support/exchange_server.h"

using namespace culvora::testing;

namespace {

// The server's first line on a new connection, or nothing when none comes within the wait.
std::string greeting(int port, int waitMs)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::string line;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        pollfd ready{fd, POLLIN, 0};
        char buffer[256];
        while (line.find('\n') == std::string::npos && ::poll(&ready, 1, waitMs) == 1) {
            const auto got = ::recv(fd, buffer, sizeof buffer, 0);
            if (got <= 0) break;
            line.append(buffer, static_cast<std::size_t>(got));
        }
    }
    ::close(fd);
    return line;
}

TEST(ExchangeServers, SharedAndOwnServersAnswerAndAFrozenOneDoesNot)
{
    const SharedExchange shared = sharedExchange();
    EXPECT_TRUE(std::filesystem::is_regular_file(shared.tree() / "network.txt"));
    EXPECT_EQ(greeting(shared.port, 5000), "220 Culvora recipe exchange ready.\r\n");

    TempDir dir;
    makeStarterTree(dir.path());
    ExchangeServer own(dir.path());
    EXPECT_NE(own.port(), shared.port);
    EXPECT_EQ(greeting(own.port(), 5000), "220 Culvora recipe exchange ready.\r\n") << own.log();
    own.freeze();
    EXPECT_EQ(greeting(own.port(), 300), "");
    own.thaw();
    EXPECT_EQ(greeting(own.port(), 5000), "220 Culvora recipe exchange ready.\r\n");
    own.stop();
    EXPECT_FALSE(own.running());
}

}  // namespace
