/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "tests/crashreporter/LoopbackServer.h"

#include <arpa/inet.h>
#include <chrono>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr std::size_t kTrickleLength = 100000;

// Ends the server's side of the connection from `remotePort` at once. The server library has no
// way to close a connection unanswered, so the socket is found among the process's descriptors.
void shutDownConnection(int localPort, int remotePort) {
    const long limit = std::min(::sysconf(_SC_OPEN_MAX), 65536L);
    for (int fd = 0; fd < limit; ++fd) {
        sockaddr_in local{};
        sockaddr_in peer{};
        socklen_t localLength = sizeof local;
        socklen_t peerLength = sizeof peer;
        if (::getsockname(fd, reinterpret_cast<sockaddr*>(&local), &localLength) != 0 ||
            ::getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &peerLength) != 0 ||
            local.sin_family != AF_INET)
            continue;
        if (ntohs(local.sin_port) == localPort && ntohs(peer.sin_port) == remotePort)
            ::shutdown(fd, SHUT_RDWR);
    }
}

} // namespace

LoopbackServer::LoopbackServer() : server(std::make_unique<httplib::Server>()) {
    server->set_tcp_nodelay(true);
    const auto handler = [this](const httplib::Request& req, httplib::Response& res) {
        Request record;
        record.method = req.method;
        record.path = req.path;
        record.userAgent = req.get_header_value("User-Agent");
        record.partCount = req.files.size();
        for (const auto& [name, file] : req.files)
            record.parts[name] = Part{file.filename, file.content};

        std::unique_lock lock(mutex);
        received.push_back(std::move(record));
        if (mode == Mode::Drop) {
            res.set_content_provider(64, "text/plain",
                                     [](std::size_t, std::size_t, httplib::DataSink&) { return false; });
            return;
        }
        if (mode == Mode::Close) {
            shutDownConnection(port, req.remote_port);
            return;
        }
        if (mode == Mode::Trickle) {
            res.set_content_provider(
                kTrickleLength, "text/plain", [this](std::size_t, std::size_t, httplib::DataSink& sink) {
                    std::unique_lock wait(mutex);
                    if (released.wait_for(wait, std::chrono::milliseconds(50), [this] { return stopping; }))
                        return false;
                    wait.unlock();
                    return sink.write("o", 1);
                });
            return;
        }
        if (mode == Mode::Flood) {
            res.set_chunked_content_provider("text/plain", [this](std::size_t, httplib::DataSink& sink) {
                static const std::string chunk(64 * 1024, 'x');
                {
                    std::lock_guard check(mutex);
                    if (stopping)
                        return false;
                }
                if (!sink.write(chunk.data(), chunk.size()))
                    return false;
                flooded += chunk.size();
                return true;
            });
            return;
        }
        if (mode == Mode::Hold) {
            // Bounded, so that a forgotten release cannot hang the test run.
            released.wait_for(lock, std::chrono::seconds(20), [this] { return isReleased || stopping; });
            if (!isReleased)
                return;
        }
        res.status = status;
        if (!location.empty())
            res.set_header("Location", location);
        res.set_content(body, "text/plain");
    };
    server->Post(".*", handler);
    // A redirected POST may come back as a GET: it must be seen too.
    server->Get(".*", handler);
}

LoopbackServer::~LoopbackServer() {
    {
        std::lock_guard lock(mutex);
        stopping = true;
    }
    released.notify_all();
    server->stop();
    if (thread.joinable())
        thread.join();
}

bool LoopbackServer::start() {
    port = server->bind_to_any_port("127.0.0.1");
    if (port <= 0)
        return false;
    thread = std::thread([this] { server->listen_after_bind(); });
    // stop() is ignored until the accept loop runs: wait for it, or a quick stop would hang.
    for (int i = 0; i < 1000 && !server->is_running(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return server->is_running();
}

QUrl LoopbackServer::url() const {
    return QUrl(QStringLiteral("http://127.0.0.1:%1/crashreport").arg(port));
}

void LoopbackServer::answer(int newStatus, std::string newBody) {
    std::lock_guard lock(mutex);
    mode = mode == Mode::Hold ? Mode::Hold : Mode::Answer;
    status = newStatus;
    body = std::move(newBody);
    location.clear();
}

void LoopbackServer::redirect(int newStatus, const QUrl& target) {
    answer(newStatus, "ok\n");
    std::lock_guard lock(mutex);
    location = target.toString().toStdString();
}

void LoopbackServer::dropConnection() {
    std::lock_guard lock(mutex);
    mode = Mode::Drop;
}

void LoopbackServer::closeWithoutAnswer() {
    std::lock_guard lock(mutex);
    mode = Mode::Close;
}

void LoopbackServer::trickle() {
    std::lock_guard lock(mutex);
    mode = Mode::Trickle;
}

void LoopbackServer::flood() {
    std::lock_guard lock(mutex);
    mode = Mode::Flood;
}

void LoopbackServer::hold() {
    std::lock_guard lock(mutex);
    mode = Mode::Hold;
    isReleased = false;
}

void LoopbackServer::release() {
    {
        std::lock_guard lock(mutex);
        isReleased = true;
    }
    released.notify_all();
}

std::vector<LoopbackServer::Request> LoopbackServer::requests() const {
    std::lock_guard lock(mutex);
    return received;
}
