#include <gtest/gtest.h>

#include <map>

#include "core/exchange/ftp_session.h"
#include "support/temp_dir.h"

using namespace culvora;
using namespace culvora::exchange;
using culvora::testing::TempDir;

namespace {

// A server in memory: folders of files, and failures put in on purpose.
class FakeClient : public FtpClient {
public:
    std::map<std::string, std::map<std::string, std::string>> folders{{"/", {}}};
    int connectFailure = 0;
    std::string folder = "/";
    std::vector<std::string> calls;
    bool closed = false;

    int connect(const FtpServer& server) override
    {
        calls.push_back("connect " + server.host + ":" + std::to_string(server.port) + " " +
                        server.user + "/" + server.password);
        if (connectFailure) return connectFailure;
        folder = "/";
        closed = false;
        return 0;
    }
    int changeFolder(std::string_view path) override
    {
        calls.push_back("cd " + std::string(path));
        const std::string target =
            path.starts_with('/') ? std::string(path) : "/" + std::string(path);
        if (!folders.contains(target)) {
            reply_ = {550, "No such file or directory."};
            return kReplyAvailable;
        }
        folder = target;
        return 0;
    }
    int list(std::vector<std::string>& names) override
    {
        calls.push_back("list " + folder);
        for (const auto& [name, content] : folders[folder]) names.push_back(name);
        return names.empty() ? kNoMoreFiles : 0;
    }
    int get(std::string_view fileName, std::string& content) override
    {
        calls.push_back("get " + folder + " " + std::string(fileName));
        if (closed) return kNotConnected;
        auto& files = folders[folder];
        auto found = files.find(std::string(fileName));
        if (found == files.end()) {
            reply_ = {550, "No such file."};
            return kReplyAvailable;
        }
        content = found->second;
        return 0;
    }
    int put(std::string_view remoteName, std::string_view content) override
    {
        calls.push_back("put " + folder + " " + std::string(remoteName));
        folders[folder][std::string(remoteName)] = std::string(content);
        return 0;
    }
    FtpReply lastReply() const override { return reply_; }
    void close() override
    {
        calls.push_back("close");
        closed = true;
    }

private:
    FtpReply reply_;
};

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
    TempDir dir;
    RecordingPrompts prompts;
    FakeClient* client;
    std::unique_ptr<FtpSession> session;
    Session()
    {
        auto fake = std::make_unique<FakeClient>();
        client = fake.get();
        client->folders["/tavendi"]["network.txt"] = "/end\r\n";
        client->folders["/tavendi/upload"] = {};
        session = std::make_unique<FtpSession>(std::move(fake), prompts, ProgramFolder(dir.path()));
        session->server = "exchange.example.org";
        session->user = "culvora";
    }
    void connect()
    {
        session->OpenSession();
        session->Connect();
    }
};

TEST(FtpSession, ConnectsWithTheAccountAndListsTheLoginFolder)
{
    Session s;
    s.client->folders["/"]["tavendi"] = "";
    s.connect();
    EXPECT_TRUE(s.session->active());
    EXPECT_EQ(s.client->calls, (std::vector<std::string>{
                                   "connect exchange.example.org:2121 culvora/wobak", "list /"}));
    EXPECT_EQ(s.session->listingNames, (std::vector<std::string>{"tavendi"}));
    EXPECT_TRUE(s.prompts.shown.empty());

    // Connecting again while connected does nothing.
    s.session->Connect();
    EXPECT_EQ(s.client->calls.size(), 2u);

    Session noServer;
    noServer.session->server.clear();
    noServer.connect();
    EXPECT_EQ(noServer.prompts.shown, (std::vector<std::string>{"Please enter a server name!"}));
    EXPECT_FALSE(noServer.session->active());

    Session down;
    down.client->connectFailure = kCannotConnect;
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
    // No: the get still runs, in the folder that was current.
    EXPECT_TRUE(no.session->HamtaFil("/tavendi/missing", "network.txt"));
    EXPECT_EQ(no.prompts.shown,
              (std::vector<std::string>{"rcd Extd Err: 550 No such file or directory.",
                                        "? rcd Err: 12003\r\nClose Connection and Session?"}));
    EXPECT_EQ(no.client->calls.back(), "get /tavendi network.txt");
    EXPECT_EQ(no.dir.read("network.txt"), "/end\r\n");

    Session yes;
    yes.connect();
    yes.prompts.shown.clear();
    yes.prompts.answer = true;
    // Yes: the connection closes, and the get of the same operation fails as "FtpGetFile".
    EXPECT_FALSE(yes.session->HamtaFil("/tavendi/missing", "network.txt"));
    EXPECT_EQ(yes.prompts.shown,
              (std::vector<std::string>{"rcd Extd Err: 550 No such file or directory.",
                                        "? rcd Err: 12003\r\nClose Connection and Session?",
                                        "? FtpGetFile Err: 6\r\nClose Connection and Session?"}));
    EXPECT_FALSE(yes.session->active());
    EXPECT_TRUE(yes.session->server.empty());
    EXPECT_FALSE(yes.dir.exists("network.txt"));
    // Closed for good: a fetch now says so, and connecting again has no server to go to.
    yes.prompts.shown.clear();
    EXPECT_FALSE(yes.session->HamtaFil("/tavendi", "network.txt"));
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
    EXPECT_EQ(s.client->calls.back(), "cd /tavendi");
    EXPECT_TRUE(s.session->ChangeFolder("exchange.example.org"));
    EXPECT_EQ(s.client->calls.back(), "cd /");

    s.dir.write("20261210143005.tvx", "[NAMN]\r\nSoup\r\n");
    EXPECT_TRUE(s.session->ChangeFolder("tavendi/upload"));
    EXPECT_TRUE(s.session->PutFile("20261210143005.tvx", "20261210143005.tvx"));
    EXPECT_EQ(s.client->folders["/tavendi/upload"]["20261210143005.tvx"], "[NAMN]\r\nSoup\r\n");
    s.prompts.shown.clear();
    EXPECT_FALSE(s.session->PutFile("missing.tvx", "missing.tvx"));
    ASSERT_EQ(s.prompts.shown.size(), 1u);

    // A fetched name that would leave the data folder is refused, whatever the server sends.
    s.client->folders["/tavendi"]["../escape.txt"] = "x";
    s.prompts.shown.clear();
    EXPECT_FALSE(s.session->HamtaFil("/tavendi", "../escape.txt"));
    EXPECT_FALSE(std::filesystem::exists(s.dir.path().parent_path() / "escape.txt"));
}

TEST(FtpSession, ACancelledSessionAsksNothingMore)
{
    Session s;
    s.connect();
    s.prompts.shown.clear();
    s.session->cancel();
    EXPECT_TRUE(s.client->cancelled());
    EXPECT_FALSE(s.session->HamtaFil("/tavendi/missing", "network.txt"));
    s.session->ErrorOut(kReplyAvailable, "FtpGetFile");
    EXPECT_TRUE(s.prompts.shown.empty());
    EXPECT_EQ(s.session->lastError(), kReplyAvailable);
}

}  // namespace
