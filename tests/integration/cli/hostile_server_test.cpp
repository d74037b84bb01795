// Servers we did not write and cannot trust, through culvora-cli: one that drips, trickles, holds
// a data connection silent, drips its replies, lies about sizes and sends absurd names and lines
// (hostile_ftp_server.py), and the exchange server serving FTPS with a certificate of its own.
// Every command ends within its deadline with a clear error, and the data folder stays as it
// was unless a recipe arrived whole.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <map>

#include "support/exchange_server.h"

using namespace culvora::testing;
namespace fs = std::filesystem;

namespace {

constexpr const char* kLoafStem = "20250207080145";  // "Overnight loaf" in the folder "bread"
constexpr std::string_view kTooSlow =
    "The server sent too little for too long; try again later or ask its operator.";
constexpr std::string_view kTooLarge =
    "The server sent more than any recipe or list of the exchange can be, so it was not kept.";

// Deadlines short enough for a test: a request below 1 KB/s for 2 seconds, or longer than 4
// seconds in all, is given up.
constexpr std::string_view kShortLimits =
    "connect_timeout=2\r\nslow_time=2\r\ntransfer_timeout=4\r\n";

struct Kitchen {
    explicit Kitchen(std::string_view ini = kShortLimits)
    {
        auto made = runCli(data, {"new-book", "Finds", "FINDS.TXT"});
        EXPECT_EQ(made.exitCode, 0) << made.err;
        data.write("exchange.ini", ini);
        before = files();
    }
    // Every file of the data folder and its bytes.
    std::map<std::string, std::string> files() const
    {
        std::map<std::string, std::string> all;
        for (const auto& entry : fs::directory_iterator(data.path())) {
            all[entry.path().filename().string()] = readBytes(entry.path());
        }
        return all;
    }
    bool unchanged() const { return files() == before; }
    CliRun exchange(const std::string& address, std::vector<std::string> args) const
    {
        args.insert(args.begin(), "exchange");
        args.insert(args.end(), {"--server", address});
        return runCli(data, args);
    }

    TempDir data;
    std::map<std::string, std::string> before;
};

// What culvora-cli says when the hostile server fails a step: one plain sentence.
std::string failure(std::string_view sentence)
{
    return "culvora-cli: " + std::string(sentence) + "\n";
}

std::string hostileAt()
{
    return "The exchange server at 127.0.0.1:" + std::to_string(hostileServerPort());
}

TEST(HostileServer, EachMisbehaviourEndsWithinItsDeadlineAndChangesNothing)
{
    using Seconds = std::chrono::duration<double>;
    const std::vector<std::string> download = {"download", "bread", kLoafStem, "--to", "Finds"};
    struct Case {
        std::string scenario;
        std::vector<std::string> args;
        std::string err;  // stderr
        double atLeast;   // seconds: the limit that should have ended it
    };
    const std::string timedOut =
        failure(hostileAt() + " did not answer in time (12002). " + std::string(kTooSlow));
    const std::string tooLarge =
        failure("The exchange server sent too much for the recipe \"" + std::string(kLoafStem) +
                "\" in category \"bread\" (12031). " + std::string(kTooLarge));
    const std::vector<Case> cases = {
        // 2 bytes a second: below the rate for the slow time.
        {"drip", {"categories"}, timedOut, 2},
        {"silent-data", download, timedOut, 2},
        // 8 KB a second is above any rate limit; only the deadline of the request ends it.
        {"trickle", {"categories"}, timedOut, 4},
        {"drip-replies", {"categories"}, timedOut, 2},
        // A size past the cap is refused as announced; a silent size is counted as it comes.
        {"claims-big", download, tooLarge, 0},
        {"no-size-big", download, tooLarge, 0},
        // 100 bytes announced, 20 MB sent: no more than the 100 bytes are taken.
        {"claims-small", download,
         failure("The connection to the exchange server at 127.0.0.1:" +
                 std::to_string(hostileServerPort()) + " broke off (12030)."),
         0},
    };
    struct Outcome {
        CliRun run;
        Seconds took;
    };
    // The cases wait on their own deadlines, so they wait side by side.
    std::vector<std::unique_ptr<Kitchen>> kitchens;
    std::vector<std::future<Outcome>> outcomes;
    for (const Case& c : cases) {
        kitchens.push_back(std::make_unique<Kitchen>());
        outcomes.push_back(std::async(std::launch::async, [&c, &kitchen = *kitchens.back()] {
            const auto start = std::chrono::steady_clock::now();
            CliRun run = kitchen.exchange(hostileAddress(c.scenario), c.args);
            return Outcome{std::move(run), std::chrono::steady_clock::now() - start};
        }));
    }
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.scenario);
        const Outcome outcome = outcomes[i].get();
        EXPECT_EQ(outcome.run.exitCode, 1);
        EXPECT_EQ(outcome.run.err, c.err);
        EXPECT_EQ(outcome.run.out, "");
        EXPECT_GE(outcome.took.count(), c.atLeast);
        EXPECT_LT(outcome.took.count(), c.atLeast + 6);
        EXPECT_TRUE(kitchens[i]->unchanged());
    }
}

TEST(HostileServer, AbsurdNamesAndLinesAreShownSafelyAndCutShort)
{
    const Kitchen kitchen;
    const std::string address = hostileAddress("bad-names");

    // The 10 MB category line stops the list there; names with escape sequences reach the
    // terminal as text, and the message names the line in 80 characters.
    auto categories = kitchen.exchange(address, {"categories"});
    EXPECT_EQ(categories.exitCode, 1);
    EXPECT_EQ(categories.out, "\\x1B[31mRed bread\tbread\n"
                              "Up and out\t../..\n"
                              "Root\t/etc\n"
                              "\n"
                              "\\x1B]0;owned\\x07Welcome \\x1B[2J\n"
                              ">\n");
    EXPECT_EQ(categories.err, "culvora-cli: The category list stops early: the line \"# Long|" +
                                  std::string(73, 'L') +
                                  "\u2026\" is 10485767 characters long, longer than any "
                                  "category can be.\n");

    // A folder that leads elsewhere is refused before anything is asked of the server.
    for (const std::string folder : {"../..", "/etc"}) {
        auto refused = kitchen.exchange(address, {"recipes", folder});
        EXPECT_EQ(refused.exitCode, 1);
        EXPECT_EQ(refused.err, "culvora-cli: The server named a category folder \"" + folder +
                                   "\" that is not a plain name, so nothing was fetched.\n");
    }

    auto recipes = kitchen.exchange(address, {"recipes", "bread"});
    EXPECT_EQ(recipes.exitCode, 1);
    EXPECT_EQ(recipes.out, "Evil \\x1B[31mloaf\t2025-02-07  08:01:45\t20250207080145\n"
                           "Dots\t../.-./-se  cr:et:\t../../secret\n");
    EXPECT_EQ(recipes.err, "culvora-cli: The recipe list of this category stops early.\n");
    EXPECT_TRUE(kitchen.unchanged());

    // The login folder's listing (paths, "..", a NUL, a 10 MB name) is taken and dropped, and
    // the good recipe still comes whole.
    auto download = kitchen.exchange(address, {"download", "bread", kLoafStem, "--to", "Finds"});
    EXPECT_EQ(download.exitCode, 0) << download.err;
    EXPECT_EQ(download.out, "Download successful!\n");
    EXPECT_EQ(kitchen.data.read("FINDS.TXT"),
              crlf({"[NAMN]", "Overnight loaf", "[PORTIONER]", "1 loaf", "[TID]", "720", "[IND]",
                    "5 dl flour", "3 dl water", "1 tsp salt", "[G\xD6RA]",
                    "Mix, wait a night, bake.", "[TYP]", "Bread"}));
    auto after = kitchen.files();
    after.erase("FINDS.TXT");
    auto before = kitchen.before;
    before.erase("FINDS.TXT");
    EXPECT_EQ(after, before) << "only the chosen cookbook changes";
}

// A certificate of the test's own for 127.0.0.1, made with Debian's openssl.
struct Certificate {
    Certificate()
    {
        const std::string command =
            "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2 "
            "-subj /CN=127.0.0.1 -addext subjectAltName=IP:127.0.0.1 -keyout " +
            shellQuote(key().string()) + " -out " + shellQuote(cert().string()) + " 2>" +
            shellQuote(dir.file("openssl.log").string());
        if (std::system(command.c_str()) != 0) {
            throw std::runtime_error("openssl could not make a certificate (scripts/setup "
                                     "installs openssl): " +
                                     dir.read("openssl.log"));
        }
    }
    fs::path cert() const { return dir.file("cert.pem"); }
    fs::path key() const { return dir.file("key.pem"); }
    TempDir dir;
};

TEST(ExchangeTls, RequiredVerifiesTheCertificateAndTryFallsBackToPlain)
{
    const Certificate certificate;
    TempDir tlsRoot;
    makeStarterTree(tlsRoot.path());
    ExchangeServer::Options tls;
    tls.more = {"--tls-cert", certificate.cert().string(), "--tls-key", certificate.key().string()};
    ExchangeServer secure(tlsRoot.path(), tls);
    TempDir plainRoot;
    makeStarterTree(plainRoot.path());
    ExchangeServer plain(plainRoot.path());

    const std::string ca = "ca=" + certificate.cert().string() + "\r\n";
    const std::string categories = "Soups and stews\tsoups\n";
    struct Case {
        std::string_view what;
        std::string ini;
        const ExchangeServer& server;
        bool encrypted;
        // Empty: the categories come. Otherwise how stderr begins and ends: the reason between
        // the two is OpenSSL's own words.
        std::string_view errStart;
        std::string_view errEnd = {};
    };
    const Case cases[] = {
        {"required, the certificate unknown", "tls=required\r\n", secure, false,
         "culvora-cli: The encrypted connection to the exchange server could not be made (",
         "), so nothing was sent to it. With tls=required the server's certificate must verify: "
         "point ca= in exchange.ini at the certificate that signed it, or ask the server's "
         "operator (12003).\n"},
        {"required, the certificate given as the CA", "tls=required\r\n" + ca, secure, true, ""},
        {"required, a plain server", "tls=required\r\n" + ca, plain, false,
         "culvora-cli: The exchange server offers no encrypted connection, and exchange.ini asks "
         "for one (tls=required), so nothing was sent to it (12003).\n",
         "(12003).\n"},
        {"try, a server that offers TLS", "tls=try\r\n", secure, true, ""},
        {"try, a plain server", "tls=try\r\n", plain, false, ""},
        {"off", "tls=off\r\n", secure, false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Kitchen kitchen(c.ini);
        const std::size_t logBefore = c.server.log().size();
        auto run = kitchen.exchange(c.server.address(), {"categories"});
        const std::string log = c.server.log().substr(logBefore);
        const bool refused = !c.errStart.empty();
        if (!refused) {
            EXPECT_EQ(run.exitCode, 0) << run.err;
            EXPECT_TRUE(run.out.starts_with(categories)) << run.out;
        } else {
            EXPECT_EQ(run.exitCode, 1);
            EXPECT_TRUE(run.err.starts_with(c.errStart)) << run.err;
            EXPECT_TRUE(run.err.ends_with(c.errEnd)) << run.err;
        }
        // A refused connection never logs in; the others do, over an encrypted line or, with
        // "off" and "try" without an offer, as before.
        EXPECT_EQ(log.find("USER 'culvora' logged in.") != std::string::npos, !refused) << log;
        EXPECT_EQ(log.find("<- PROT P") != std::string::npos, c.encrypted) << log;
        EXPECT_TRUE(kitchen.unchanged());
    }
}

}  // namespace
