#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>

namespace velmora {

// What the running instance does with the frames a second start sends.
// `onPath` gets the handed-over path and a `done` call to make once the path's
// repair has ended; the sender stays blocked until then. `done` may be called
// after the connection or the server is gone.
struct HandOverHandler {
    std::function<void(const std::string& path, std::function<void()> done)> onPath;
    std::function<void()> onShowNormal;
};

// Listens on the socket `TForm1` in the runtime folder; needs a running Qt
// event loop. Connections from another user, malformed or oversized frames and
// frames that do not complete within `frameTimeout` are dropped; none of them
// ever blocks the event loop.
class HandOverServer {
public:
    HandOverServer(std::string folder, HandOverHandler handler,
                   std::chrono::milliseconds frameTimeout = std::chrono::seconds(5));
    ~HandOverServer();
    HandOverServer(const HandOverServer&) = delete;
    HandOverServer& operator=(const HandOverServer&) = delete;

    // Only the holder of the instance mark listens, so a socket file left by a
    // killed instance is stale and removed first. Throws std::runtime_error.
    void Listen();

private:
    class Impl;
    std::unique_ptr<Impl> impl_;
};

std::string HandOverSocketPath(const std::string& folder);

} // namespace velmora
