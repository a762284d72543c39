/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QUrl>
#include <atomic>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace httplib {
class Server;
}

// A real HTTP server on 127.0.0.1 (any free port), run in a thread of the test. It records every
// request it receives (POST or GET), with the multipart body parsed by cpp-httplib's own parser,
// and answers as the test says: an answer, a redirection, a dropped connection, a connection closed
// without any answer, an answer trickling in byte by byte, an answer without end, or silence until
// released.
class LoopbackServer {
public:
    struct Part {
        std::string filename;
        std::string content;
    };
    struct Request {
        std::string method;
        std::string path;
        std::string userAgent;
        std::map<std::string, Part> parts;
        std::size_t partCount = 0;
    };

    LoopbackServer();
    ~LoopbackServer();

    bool start();
    QUrl url() const;

    void answer(int status, std::string body);
    // Answers `status` with a Location header and the body "ok\n".
    void redirect(int status, const QUrl& location);
    // Sends headers promising a body, then closes the connection.
    void dropConnection();
    // Reads the whole request, then closes the connection without sending a byte.
    void closeWithoutAnswer();
    // Answers 200 and then one byte every 50 ms, never finishing while the client listens.
    void trickle();
    // Answers 200 with a body that never ends, as fast as the client takes it; floodedBytes() says
    // how much of it was sent.
    void flood();
    std::size_t floodedBytes() const { return flooded; }
    // Holds each request until release() (then answers as set by answer()) or the server stops.
    void hold();
    void release();

    std::vector<Request> requests() const;

private:
    enum class Mode { Answer, Drop, Close, Trickle, Flood, Hold };

    std::unique_ptr<httplib::Server> server;
    std::thread thread;
    int port = 0;
    mutable std::mutex mutex;
    std::condition_variable released;
    bool isReleased = false;
    bool stopping = false;
    Mode mode = Mode::Answer;
    int status = 200;
    std::string body = "ok\n";
    std::string location;
    std::vector<Request> received;
    std::atomic<std::size_t> flooded{0};
};
