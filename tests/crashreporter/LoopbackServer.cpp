#include "tests/crashreporter/LoopbackServer.h"

#include <chrono>
#include <httplib.h>

std::string LoopbackServer::Request::header(const std::string& name) const {
    const auto it = headers.find(name);
    return it == headers.end() ? std::string() : it->second;
}

LoopbackServer::LoopbackServer() : server(std::make_unique<httplib::Server>()) {
    server->set_tcp_nodelay(true);
    server->Post(".*", [this](const httplib::Request& req, httplib::Response& res) {
        Request record;
        record.method = req.method;
        record.path = req.path;
        for (const auto& [name, value] : req.headers)
            record.headers.emplace(name, value);
        record.multipart = req.is_multipart_form_data();
        record.partCount = req.files.size();
        for (const auto& [name, file] : req.files)
            record.parts[name] = Part{file.filename, file.content_type, file.content};

        std::unique_lock lock(mutex);
        received.push_back(std::move(record));
        if (mode == Mode::Drop) {
            res.set_content_provider(64, "text/plain",
                                     [](std::size_t, std::size_t, httplib::DataSink&) { return false; });
            return;
        }
        if (mode == Mode::Hold) {
            // Bounded, so that a forgotten release cannot hang the test run.
            released.wait_for(lock, std::chrono::seconds(20), [this] { return isReleased || stopping; });
            if (!isReleased)
                return;
        }
        res.status = status;
        res.set_content(body, "text/plain");
    });
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
}

void LoopbackServer::dropConnection() {
    std::lock_guard lock(mutex);
    mode = Mode::Drop;
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
