#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "core/exchange/http_get.h"
#include "support/http_test_server.h"

using namespace culvora;
using namespace culvora::exchange;
using culvora::testing::HttpTestServer;
using Clock = std::chrono::steady_clock;

namespace {

// Short limits, so that a test of a slow server takes a second or two.
HttpLimits quick()
{
    HttpLimits limits;
    limits.connectSeconds = 2;
    limits.stallSeconds = 1;
    limits.totalSeconds = 3;
    limits.maxBytes = 64 * 1024;
    limits.maxRedirects = 3;
    return limits;
}

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

TEST(HttpGet, ReadsAPageAndFollowsAFewRedirects)
{
    HttpTestServer server;
    const std::string body = "<html><body>Pannkakor &amp; sylt</body></html>";
    server.page("/recipe", body, "text/html; charset=windows-1252");
    server.redirect("/old", "/older");
    server.redirect("/older", server.url("/recipe"));

    auto page = httpGet(server.url("/old"), quick());
    ASSERT_TRUE(page) << page.error().message;
    EXPECT_EQ(page->body, body);
    EXPECT_EQ(page->address, server.url("/recipe"));
    EXPECT_EQ(page->contentType, "text/html; charset=windows-1252");
    EXPECT_EQ(server.requests(), (std::vector<std::string>{"/old", "/older", "/recipe"}));

    // A page that sends on to itself ends after the allowed number of redirects.
    server.redirect("/loop", "/loop");
    auto loop = httpGet(server.url("/loop"), quick());
    ASSERT_FALSE(loop);
    EXPECT_EQ(loop.error().code, ErrorCode::Refused);
    EXPECT_NE(loop.error().message.find("too many times"), std::string::npos);
    EXPECT_LE(server.requests().size(), 3u + 1u + 4u);
}

TEST(HttpGet, RefusesErrorAnswersAndAddressesItCannotRead)
{
    HttpTestServer server;
    server.page("/gone", "<html>Not here</html>", "text/html", 404);
    server.page("/broken", "<html>Oops</html>", "text/html", 500);

    auto missing = httpGet(server.url("/gone"), quick());
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().code, ErrorCode::NotFound);
    EXPECT_EQ(missing.error().message,
              "The server \"127.0.0.1:" + std::to_string(server.port()) +
                  "\" answered 404 (there is no such page).");
    auto broken = httpGet(server.url("/broken"), quick());
    ASSERT_FALSE(broken);
    EXPECT_EQ(broken.error().code, ErrorCode::Refused);
    EXPECT_NE(broken.error().message.find("answered 500"), std::string::npos);

    for (const char* address : {"ftp://example.org/page.html", "file:///etc/passwd",
                                "/home/cook/page.html", "https://example.org/a page"}) {
        auto refused = httpGet(address, quick());
        ASSERT_FALSE(refused) << address;
        EXPECT_EQ(refused.error().code, ErrorCode::Invalid) << address;
    }

    // Nothing listens on the port of a server that has stopped.
    std::string closed;
    {
        HttpTestServer gone;
        closed = gone.url("/recipe");
    }
    auto unreachable = httpGet(closed, quick());
    ASSERT_FALSE(unreachable);
    EXPECT_EQ(unreachable.error().code, ErrorCode::Io);
    EXPECT_NE(unreachable.error().message.find("could not be reached"), std::string::npos);
}

TEST(HttpGet, RefusesAPageLargerThanTheCapWithOrWithoutItsLength)
{
    HttpTestServer server;
    const auto limits = quick();
    server.page("/exact", std::string(limits.maxBytes, 'a'));
    server.page("/announced", std::string(limits.maxBytes + 1, 'a'));
    server.endless("/endless", 100 * limits.maxBytes);

    auto exact = httpGet(server.url("/exact"), limits);
    ASSERT_TRUE(exact) << exact.error().message;
    EXPECT_EQ(exact->body.size(), limits.maxBytes);

    for (const char* path : {"/announced", "/endless"}) {
        const auto start = Clock::now();
        auto page = httpGet(server.url(path), limits);
        ASSERT_FALSE(page) << path;
        EXPECT_EQ(page.error().code, ErrorCode::Refused) << path;
        EXPECT_EQ(page.error().message,
                  "The page is larger than 65536 bytes, more than a recipe page can be; it was "
                  "not read.");
        EXPECT_LT(secondsSince(start), 2.0) << path;
    }
}

TEST(HttpGet, GivesUpOnAServerThatStallsOrNeverFinishes)
{
    HttpTestServer server;
    server.stall("/stall");
    server.trickle("/trickle", std::chrono::milliseconds(100));

    // Standing still ends long before the whole time is up: after stallSeconds, counted once
    // the first bytes have left libcurl's speed window of a few seconds.
    auto limits = quick();
    limits.totalSeconds = 30;
    auto start = Clock::now();
    auto stalled = httpGet(server.url("/stall"), limits);
    ASSERT_FALSE(stalled);
    EXPECT_EQ(stalled.error().code, ErrorCode::Io);
    EXPECT_NE(stalled.error().message.find("did not answer in time"), std::string::npos);
    EXPECT_LT(secondsSince(start), 12.0);

    // A byte now and then keeps a transfer moving; the whole time still ends it.
    limits = quick();
    limits.stallSeconds = 30;
    limits.totalSeconds = 2;
    start = Clock::now();
    auto trickled = httpGet(server.url("/trickle"), limits);
    ASSERT_FALSE(trickled);
    EXPECT_NE(trickled.error().message.find("did not answer in time"), std::string::npos);
    EXPECT_GE(secondsSince(start), 1.5);
    EXPECT_LT(secondsSince(start), 6.0);
}

TEST(HttpGet, StopsWhenCancelledFromAnotherThread)
{
    HttpTestServer server;
    server.stall("/stall");
    auto limits = quick();
    limits.stallSeconds = 30;
    limits.totalSeconds = 30;
    std::atomic<bool> cancelled{false};
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        cancelled = true;
    });
    const auto start = Clock::now();
    auto page = httpGet(server.url("/stall"), limits, &cancelled);
    stopper.join();
    ASSERT_FALSE(page);
    EXPECT_EQ(page.error().message, kFetchCancelledMessage);
    EXPECT_LT(secondsSince(start), 3.0);
}
