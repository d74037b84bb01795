#pragma once

// An exchange server in memory for the exchange's tests, from the session up to the windows:
// folders of files, the calls the clients made, and faults put in on purpose (a refused
// connection, a folder change or a store refused with a reply text, a call that hangs until the
// session is cancelled). A window's session runs on a thread of its own, so the server is
// shared and locked. The windows make their clients with fakeClients() (fake_ftp_factory.h).

#include <atomic>
#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "core/exchange/ftp_client.h"

namespace culvora::testing {

struct FakeFtpServer {
    std::mutex mutex;
    // "/" is the folder the login starts in; other folders are absolute paths. The login
    // folder holds the exchange's root folder, so a first listing is not empty.
    std::map<std::string, std::map<std::string, std::string>> folders{{"/", {{"tavendi", ""}}}};
    std::vector<std::string> calls;
    int connectFailure = 0;
    // Folder changes refused with this reply.
    std::set<std::string> refusedFolders;
    exchange::FtpReply folderReply{550, "No such file or directory."};
    // Stores refused with this reply (code 0: stores succeed).
    exchange::FtpReply putReply;
    // "connect", "get" or "put": that call waits until the session is cancelled.
    std::string hangOn;
    std::atomic<bool> hanging{false};

    std::vector<std::string> callsMade()
    {
        std::lock_guard lock(mutex);
        return calls;
    }
    std::string file(const std::string& folder, const std::string& name)
    {
        std::lock_guard lock(mutex);
        return folders[folder][name];
    }
    std::map<std::string, std::string> filesIn(const std::string& folder)
    {
        std::lock_guard lock(mutex);
        return folders[folder];
    }
};

class FakeFtpClient : public exchange::FtpClient {
public:
    explicit FakeFtpClient(std::shared_ptr<FakeFtpServer> server) : server_(std::move(server)) {}

    int connect(const exchange::FtpServer& account) override
    {
        if (int hung = hang("connect")) return hung;
        std::lock_guard lock(server_->mutex);
        note("connect " + account.host + ":" + std::to_string(account.port) + " " + account.user +
             "/" + account.password);
        if (server_->connectFailure) return server_->connectFailure;
        folder_ = "/";
        connected_ = true;
        return 0;
    }
    int changeFolder(std::string_view path) override
    {
        std::lock_guard lock(server_->mutex);
        note("cd " + std::string(path));
        if (!connected_) return exchange::kNotConnected;
        const std::string target =
            path.starts_with('/') ? std::string(path) : "/" + std::string(path);
        if (server_->refusedFolders.contains(target) || !server_->folders.contains(target)) {
            reply_ = server_->folderReply;
            return exchange::kReplyAvailable;
        }
        folder_ = target;
        return 0;
    }
    int list(std::vector<std::string>& names) override
    {
        std::lock_guard lock(server_->mutex);
        note("list " + folder_);
        if (!connected_) return exchange::kNotConnected;
        for (const auto& [name, content] : server_->folders[folder_]) names.push_back(name);
        return names.empty() ? exchange::kNoMoreFiles : 0;
    }
    int get(std::string_view fileName, std::string& content) override
    {
        if (int hung = hang("get")) return hung;
        std::lock_guard lock(server_->mutex);
        note("get " + folder_ + " " + std::string(fileName));
        if (!connected_) return exchange::kNotConnected;
        auto& files = server_->folders[folder_];
        auto found = files.find(std::string(fileName));
        if (found == files.end()) {
            reply_ = {550, "No such file."};
            return exchange::kReplyAvailable;
        }
        content = found->second;
        return 0;
    }
    int put(std::string_view remoteName, std::string_view content) override
    {
        if (int hung = hang("put")) return hung;
        std::lock_guard lock(server_->mutex);
        note("put " + folder_ + " " + std::string(remoteName));
        if (!connected_) return exchange::kNotConnected;
        if (server_->putReply.code != 0) {
            reply_ = server_->putReply;
            return exchange::kReplyAvailable;
        }
        server_->folders[folder_][std::string(remoteName)] = std::string(content);
        return 0;
    }
    exchange::FtpReply lastReply() const override { return reply_; }
    void close() override
    {
        std::lock_guard lock(server_->mutex);
        note("close");
        connected_ = false;
    }

private:
    void note(std::string call) { server_->calls.push_back(std::move(call)); }

    // Waits for the session to be cancelled when this call is the one that hangs.
    int hang(const std::string& call)
    {
        {
            std::lock_guard lock(server_->mutex);
            if (server_->hangOn != call) return 0;
            note(call + " (hangs)");
        }
        server_->hanging = true;
        while (!cancelled()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return exchange::kCancelled;
    }

    std::shared_ptr<FakeFtpServer> server_;
    std::string folder_ = "/";
    bool connected_ = false;
    exchange::FtpReply reply_;
};

}  // namespace culvora::testing
