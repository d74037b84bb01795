#pragma once

// The exchange servers of the integration tests (tests/integration/CMakeLists.txt registers a
// test with culvora_exchange_test(), which sets the environment used here).
//
// sharedExchange(): the one server of the CTest fixture "exchange_server", started once for the
// whole run on the starter tree. Tests may read anything and may upload and publish; a test
// that publishes uses the category "desserts" and a stem of its own, and no test compares the
// whole of "desserts".
//
// ExchangeServer: a server of the test's own, on a tree the test made, for what must not
// happen to the shared one: a changed tree, a frozen server, a server that dies mid-transfer,
// options of the server's own (TLS, caps).
//
// hostileServerPort(): the misbehaving server of the CTest fixture "hostile_server"
// (hostile_ftp_server.py); the user name a client logs in with picks the misbehaviour.
//
// Neither needs GoogleTest: a failure throws std::runtime_error with the server's log.

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/cli_runner.h"
#include "support/temp_dir.h"

extern char** environ;

namespace culvora::testing {

inline std::string requiredEnv(const char* name)
{
    const char* value = std::getenv(name);
    if (!value || !*value) {
        throw std::runtime_error(std::string(name) +
                                 " is not set: register the test with culvora_exchange_test()");
    }
    return value;
}

inline std::vector<std::string> splitText(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(separator, start)) != std::string::npos;
         start = end + 1) {
        parts.push_back(text.substr(start, end - start));
    }
    if (start < text.size()) parts.push_back(text.substr(start));
    return parts;
}

inline std::string exchangeAddress(int port)
{
    return "ftp://culvora@127.0.0.1:" + std::to_string(port);
}

// exchange.ini for a data folder, so the program and culvora-cli go to that server.
inline std::string exchangeIni(int port)
{
    return "server=127.0.0.1\r\nport=" + std::to_string(port) + "\r\nuser=culvora\r\n";
}

struct SharedExchange {
    int port = 0;
    std::filesystem::path root;  // holds tavendi/
    std::filesystem::path log;
    std::filesystem::path tree() const { return root / "tavendi"; }
    std::string address() const { return exchangeAddress(port); }
};

// The fixture's exchange.env file as a server: port, root (none for the hostile one) and log.
inline SharedExchange fixtureServer(const char* envVariable)
{
    const std::string envFile = requiredEnv(envVariable);
    SharedExchange shared;
    for (const auto& line : splitText(readBytes(envFile), '\n')) {
        const auto equals = line.find('=');
        if (equals == std::string::npos) continue;
        const std::string key = line.substr(0, equals);
        const std::string value = line.substr(equals + 1);
        if (key == "CULVORA_EXCHANGE_PORT") shared.port = std::stoi(value);
        if (key == "CULVORA_EXCHANGE_ROOT") shared.root = value;
        if (key == "CULVORA_EXCHANGE_LOG") shared.log = value;
    }
    if (shared.port == 0) {
        throw std::runtime_error("the fixture of " + envFile + " did not run");
    }
    return shared;
}

inline SharedExchange sharedExchange()
{
    return fixtureServer("CULVORA_EXCHANGE_ENV");
}

inline int hostileServerPort()
{
    return fixtureServer("CULVORA_HOSTILE_ENV").port;
}

// The hostile server's address for one misbehaviour ("drip", "claims-big", ...).
inline std::string hostileAddress(const std::string& scenario)
{
    return "ftp://" + scenario + "@127.0.0.1:" + std::to_string(hostileServerPort());
}

// The starter tree of culvora-cli exchange-init under root. It is made once per test program
// and copied: making one writes and syncs two dozen files.
inline void makeStarterTree(const std::filesystem::path& root)
{
    static const TempDir starter;
    static const bool made = [] {
        TempDir data;
        const CliRun init =
            runCli(data, {"exchange-init", "--root", starter.file("root").string()});
        if (init.exitCode != 0) throw std::runtime_error("exchange-init failed: " + init.err);
        return true;
    }();
    (void)made;
    std::filesystem::copy(starter.file("root"), root, std::filesystem::copy_options::recursive);
}

class ExchangeServer {
public:
    struct Options {
        // Halfway through sending the file of this name the server kills itself (SIGKILL) or
        // stops itself (SIGSTOP, a server that hangs in the middle of a transfer).
        std::string dieDuring;
        std::string freezeDuring;
        // More options of tools/exchange_server.py ("--tls-cert", FILE, ...).
        std::vector<std::string> more;

        static Options dyingDuring(std::string name)
        {
            Options options;
            options.dieDuring = std::move(name);
            return options;
        }
        static Options freezingDuring(std::string name)
        {
            Options options;
            options.freezeDuring = std::move(name);
            return options;
        }
    };

    explicit ExchangeServer(std::filesystem::path root, Options options = {})
        : root_(std::move(root)),
          log_(scratch_.file("server.log"))
    {
        const std::filesystem::path portFile = scratch_.file("port");
        std::vector<std::string> args = {requiredEnv("CULVORA_PYTHON"),
                                         requiredEnv("CULVORA_EXCHANGE_FAULT_SERVER"),
                                         "--root",
                                         root_.string(),
                                         "--port",
                                         "0",
                                         "--port-file",
                                         portFile.string(),
                                         "--verbose"};
        for (const auto& [option, name] : {std::pair{"--die-during", options.dieDuring},
                                           std::pair{"--freeze-during", options.freezeDuring}}) {
            if (name.empty()) continue;
            args.push_back(option);
            args.push_back(name);
        }
        args.insert(args.end(), options.more.begin(), options.more.end());
        std::vector<char*> argv;
        for (auto& arg : args) argv.push_back(arg.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t files;
        posix_spawn_file_actions_init(&files);
        posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&files, 1, log_.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        posix_spawn_file_actions_adddup2(&files, 1, 2);
        const int spawned = posix_spawn(&pid_, argv[0], &files, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&files);
        if (spawned != 0) throw std::runtime_error("cannot start " + args[0]);

        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
        while (!std::filesystem::exists(portFile)) {
            if (!running() || std::chrono::steady_clock::now() > deadline) {
                stop();
                throw std::runtime_error("the exchange server did not start:\n" + log());
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        port_ = std::stoi(readBytes(portFile));
    }

    ~ExchangeServer() { stop(); }
    ExchangeServer(const ExchangeServer&) = delete;
    ExchangeServer& operator=(const ExchangeServer&) = delete;

    int port() const { return port_; }
    std::string address() const { return exchangeAddress(port_); }
    const std::filesystem::path& root() const { return root_; }
    std::filesystem::path tree() const { return root_ / "tavendi"; }
    pid_t pid() const { return pid_; }
    std::string log() const { return readBytes(log_); }

    // The kernel still accepts connections for a stopped server, and nothing ever answers.
    void freeze() { ::kill(pid_, SIGSTOP); }
    void thaw() { ::kill(pid_, SIGCONT); }

    // False once the server is gone (stopped, or dead of a fault it was asked for).
    bool running()
    {
        if (pid_ <= 0) return false;
        if (::waitpid(pid_, nullptr, WNOHANG) == pid_) pid_ = -1;
        return pid_ > 0;
    }

    void stop()
    {
        if (!running()) return;
        ::kill(pid_, SIGCONT);
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    TempDir scratch_;
    std::filesystem::path root_;
    std::filesystem::path log_;
    pid_t pid_ = -1;
    int port_ = 0;
};

}  // namespace culvora::testing
