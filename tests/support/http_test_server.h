#pragma once

// A small web server on a free loopback port, for the tests of fetching pages: each path
// answers as a test sets it up (a page, an error status, a redirect, a server that stalls or
// trickles, one that sends more than any page may be). It serves until it is destroyed; every
// connection runs on a thread of its own, and a stalling answer ends when the server stops.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace culvora::testing {

class HttpTestServer {
public:
    // What a path answers: the whole reply is written by the handler through `send`, which
    // returns false once the client has gone; `stopping` turns true when the server stops.
    using Send = std::function<bool(const std::string&)>;
    using Handler = std::function<void(const Send& send, const std::atomic<bool>& stopping)>;

    HttpTestServer()
    {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        if (listener_ < 0) throw std::runtime_error("no socket");
        int yes = 1;
        ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0;
        if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(listener_, 16) != 0) {
            ::close(listener_);
            throw std::runtime_error("cannot listen on loopback");
        }
        socklen_t length = sizeof address;
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        acceptor_ = std::thread([this] { acceptLoop(); });
    }

    ~HttpTestServer()
    {
        stopping_ = true;
        if (acceptor_.joinable()) acceptor_.join();
        std::vector<std::thread> connections;
        {
            std::lock_guard lock(mutex_);
            connections.swap(connections_);
        }
        for (auto& connection : connections) connection.join();
        ::close(listener_);
    }

    HttpTestServer(const HttpTestServer&) = delete;
    HttpTestServer& operator=(const HttpTestServer&) = delete;

    int port() const { return port_; }
    std::string url(const std::string& path) const
    {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }

    void on(const std::string& path, Handler handler)
    {
        std::lock_guard lock(mutex_);
        handlers_[path] = std::move(handler);
    }

    // A complete answer with a body.
    void page(const std::string& path, const std::string& body,
              const std::string& contentType = "text/html; charset=utf-8", int status = 200)
    {
        on(path, [=](const Send& send, const std::atomic<bool>&) {
            send("HTTP/1.1 " + std::to_string(status) + " " + reason(status) +
                 "\r\nContent-Type: " + contentType + "\r\nContent-Length: " +
                 std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
        });
    }

    void redirect(const std::string& path, const std::string& to)
    {
        on(path, [=](const Send& send, const std::atomic<bool>&) {
            send("HTTP/1.1 302 Found\r\nLocation: " + to +
                 "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        });
    }

    // Headers and the first bytes of a page, then nothing until the server stops.
    void stall(const std::string& path)
    {
        on(path, [](const Send& send, const std::atomic<bool>& stopping) {
            if (!send("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: 1000\r\n"
                      "Connection: close\r\n\r\n<html>")) {
                return;
            }
            while (!stopping) std::this_thread::sleep_for(std::chrono::milliseconds(20));
        });
    }

    // One byte every `every` until the server stops: never standing still, never done.
    void trickle(const std::string& path, std::chrono::milliseconds every)
    {
        on(path, [every](const Send& send, const std::atomic<bool>& stopping) {
            if (!send("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nConnection: close\r\n\r\n"))
                return;
            while (!stopping && send(" ")) std::this_thread::sleep_for(every);
        });
    }

    // `bytes` of page without a Content-Length: only counting tells how large it is.
    void endless(const std::string& path, std::size_t bytes)
    {
        on(path, [bytes](const Send& send, const std::atomic<bool>& stopping) {
            if (!send("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nConnection: close\r\n\r\n"))
                return;
            const std::string piece(64 * 1024, 'x');
            for (std::size_t sent = 0; sent < bytes && !stopping; sent += piece.size()) {
                if (!send(piece)) return;
            }
        });
    }

    // The paths asked for, in order.
    std::vector<std::string> requests() const
    {
        std::lock_guard lock(mutex_);
        return requests_;
    }

private:
    static std::string reason(int status)
    {
        switch (status) {
        case 200: return "OK";
        case 403: return "Forbidden";
        case 404: return "Not Found";
        case 500: return "Internal Server Error";
        default: return "Status";
        }
    }

    void acceptLoop()
    {
        while (!stopping_) {
            pollfd waiting{listener_, POLLIN, 0};
            if (::poll(&waiting, 1, 50) <= 0) continue;
            const int client = ::accept(listener_, nullptr, nullptr);
            if (client < 0) continue;
            std::lock_guard lock(mutex_);
            connections_.emplace_back([this, client] { serve(client); });
        }
    }

    void serve(int client)
    {
        std::string request;
        char buffer[4096];
        while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
            pollfd readable{client, POLLIN, 0};
            if (stopping_ || ::poll(&readable, 1, 50) < 0) break;
            if (!(readable.revents & POLLIN)) continue;
            const ssize_t got = ::recv(client, buffer, sizeof buffer, 0);
            if (got <= 0) break;
            request.append(buffer, static_cast<std::size_t>(got));
        }
        const auto firstSpace = request.find(' ');
        const auto secondSpace = request.find(' ', firstSpace + 1);
        const std::string path = firstSpace == std::string::npos || secondSpace == std::string::npos
                                     ? std::string()
                                     : request.substr(firstSpace + 1, secondSpace - firstSpace - 1);
        Handler handler;
        {
            std::lock_guard lock(mutex_);
            requests_.push_back(path);
            if (auto found = handlers_.find(path); found != handlers_.end()) handler = found->second;
        }
        const Send send = [client](const std::string& bytes) {
            std::size_t sent = 0;
            while (sent < bytes.size()) {
                const ssize_t n = ::send(client, bytes.data() + sent, bytes.size() - sent,
                                         MSG_NOSIGNAL);
                if (n <= 0) return false;
                sent += static_cast<std::size_t>(n);
            }
            return true;
        };
        if (handler) {
            handler(send, stopping_);
        } else {
            send("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        }
        ::close(client);
    }

    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::thread acceptor_;
    mutable std::mutex mutex_;
    std::map<std::string, Handler> handlers_;
    std::vector<std::string> requests_;
    std::vector<std::thread> connections_;
};

}  // namespace culvora::testing
