#include <gtest/gtest.h>

#include <memory>

#include "core/exchange/ftp_session.h"
#include "support/fake_ftp_client.h"

using namespace culvora;
using namespace culvora::exchange;
using culvora::testing::FakeFtpClient;
using culvora::testing::FakeFtpServer;

namespace {

class RecordingPrompts : public SessionPrompts {
public:
    std::vector<std::string> shown;
    bool answer = false;
    void message(const std::string& text) override { shown.push_back(text); }
    bool askYesNo(const std::string& text) override
    {
        shown.push_back("? " + text);
        return answer;
    }
};

struct Session {
    std::shared_ptr<FakeFtpServer> server = std::make_shared<FakeFtpServer>();
    RecordingPrompts prompts;
    FakeFtpClient* client;
    std::unique_ptr<FtpSession> session;
    Session()
    {
        server->folders["/tavendi"]["network.txt"] = "/end\r\n";
        server->folders["/tavendi/upload"] = {};
        auto fake = std::make_unique<FakeFtpClient>(server);
        client = fake.get();
        session = std::make_unique<FtpSession>(std::move(fake), prompts);
        session->server = "exchange.example.org";
        session->user = "culvora";
    }
    void connect()
    {
        session->OpenSession();
        session->Connect();
    }
    std::vector<std::string> calls() { return server->callsMade(); }
};

TEST(FtpSession, ConnectsWithTheAccountAndListsTheLoginFolder)
{
    Session s;
    s.connect();
    EXPECT_TRUE(s.session->active());
    EXPECT_EQ(s.calls(), (std::vector<std::string>{
                             "connect exchange.example.org:2121 culvora/wobak", "list /"}));
    EXPECT_EQ(s.session->listingNames, (std::vector<std::string>{"tavendi"}));
    EXPECT_TRUE(s.prompts.shown.empty());

    // Connecting again while connected does nothing.
    s.session->Connect();
    EXPECT_EQ(s.calls().size(), 2u);

    Session noServer;
    noServer.session->server.clear();
    noServer.connect();
    EXPECT_EQ(noServer.prompts.shown, (std::vector<std::string>{"Please enter a server name!"}));
    EXPECT_FALSE(noServer.session->active());

    Session down;
    down.server->connectFailure = kCannotConnect;
    down.prompts.answer = true;
    down.connect();
    EXPECT_FALSE(down.session->active());
    EXPECT_EQ(down.prompts.shown,
              (std::vector<std::string>{
                  "? InternetConnect Err: 12029\r\nClose Connection and Session?"}));
}

TEST(FtpSession, ARefusedFolderChangeAndTheTwoAnswers)
{
    Session no;
    no.connect();
    no.prompts.shown.clear();
    ASSERT_TRUE(no.session->ChangeFolder("/tavendi"));
    // No: the get still runs, in the folder that was current, and hands its bytes back.
    EXPECT_EQ(no.session->HamtaFil("/tavendi/missing", "network.txt"), "/end\r\n");
    EXPECT_EQ(no.prompts.shown,
              (std::vector<std::string>{"rcd Extd Err: 550 No such file or directory.",
                                        "? rcd Err: 12003\r\nClose Connection and Session?"}));
    EXPECT_EQ(no.calls().back(), "get /tavendi network.txt");

    Session yes;
    yes.connect();
    yes.prompts.shown.clear();
    yes.prompts.answer = true;
    // Yes: the connection closes, and the get of the same operation fails as "FtpGetFile".
    EXPECT_EQ(yes.session->HamtaFil("/tavendi/missing", "network.txt"), std::nullopt);
    EXPECT_EQ(yes.prompts.shown,
              (std::vector<std::string>{"rcd Extd Err: 550 No such file or directory.",
                                        "? rcd Err: 12003\r\nClose Connection and Session?",
                                        "? FtpGetFile Err: 6\r\nClose Connection and Session?"}));
    EXPECT_FALSE(yes.session->active());
    EXPECT_TRUE(yes.session->server.empty());
    // Closed for good: a fetch now says so, and connecting again has no server to go to.
    yes.prompts.shown.clear();
    EXPECT_EQ(yes.session->HamtaFil("/tavendi", "network.txt"), std::nullopt);
    EXPECT_EQ(yes.prompts.shown, (std::vector<std::string>{"Not in session"}));
}

TEST(FtpSession, FoldersListingsAndUploads)
{
    Session s;
    s.connect();
    s.prompts.shown.clear();
    EXPECT_FALSE(s.session->ListFolder("/tavendi/upload"));
    EXPECT_EQ(s.prompts.shown, (std::vector<std::string>{"This directory is empty!"}));
    EXPECT_TRUE(s.session->listingNames.empty());

    s.prompts.shown.clear();
    EXPECT_FALSE(s.session->ChangeFolder(""));
    EXPECT_EQ(s.prompts.shown, (std::vector<std::string>{"Please enter the directory to CD"}));
    // A path that holds the server's address loses it.
    EXPECT_TRUE(s.session->ChangeFolder("exchange.example.org/tavendi"));
    EXPECT_EQ(s.calls().back(), "cd /tavendi");
    EXPECT_TRUE(s.session->ChangeFolder("exchange.example.org"));
    EXPECT_EQ(s.calls().back(), "cd /");

    // The bytes go from memory to the current server folder, byte for byte.
    const std::string record = "[NAMN]\r\nR\xE5rakor\r\n";
    EXPECT_TRUE(s.session->ChangeFolder("tavendi/upload"));
    EXPECT_TRUE(s.session->PutFile(record, "20261210143005.tvx"));
    EXPECT_EQ(s.server->file("/tavendi/upload", "20261210143005.tvx"), record);
    EXPECT_EQ(s.calls().back(), "put /tavendi/upload 20261210143005.tvx");

    // A refused store is reported with the server's reply, and the question.
    s.server->putReply = {553, "Could not create file."};
    s.prompts.shown.clear();
    EXPECT_FALSE(s.session->PutFile(record, "20261210143006.tvx"));
    EXPECT_EQ(s.prompts.shown, (std::vector<std::string>{
                                   "FtpPutFile Extd Err: 553 Could not create file.",
                                   "? FtpPutFile Err: 12003\r\nClose Connection and Session?"}));
    EXPECT_EQ(s.session->lastError(), kReplyAvailable);
}

TEST(FtpSession, ACancelledSessionAsksNothingMore)
{
    Session s;
    s.connect();
    s.prompts.shown.clear();
    s.session->cancel();
    EXPECT_TRUE(s.client->cancelled());
    EXPECT_EQ(s.session->HamtaFil("/tavendi/missing", "network.txt"), std::nullopt);
    s.session->ErrorOut(kReplyAvailable, "FtpGetFile");
    EXPECT_TRUE(s.prompts.shown.empty());
    EXPECT_EQ(s.session->lastError(), kReplyAvailable);
}

}  // namespace
