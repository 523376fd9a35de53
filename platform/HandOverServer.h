#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

namespace velmora {

// What the running instance does with the frames a second start sends.
// `onPath` gets the handed-over path and a `done` call to make once the path's
// repair has ended; the sender stays blocked until then. `done` may be called
// after the connection or the server is gone.
struct HandOverHandler {
    std::function<void(const std::string& path, std::function<void()> done)> OnPath;
    std::function<void()> OnShowNormal;
};

struct HandOverLimits {
    // Frames that do not complete within this time are dropped.
    std::chrono::milliseconds FrameTimeout = std::chrono::seconds(5);
    // Connections held open at once; zero takes a share of the free file
    // descriptors. Starts beyond it wait in the socket's backlog.
    std::size_t MaxConnections = 0;
    // How often the server checks that its socket is still where starts look.
    std::chrono::milliseconds WatchInterval = std::chrono::seconds(1);
};

// Listens on the socket `TForm1` in the runtime folder; needs a running Qt
// event loop. Connections from another user, malformed or oversized frames and
// frames that do not complete in time are dropped; none of them ever blocks
// the event loop. The server never stops listening for good: out of file
// descriptors it pauses and resumes, and when its socket goes away it listens
// again; both are said in the "velmora.handover" log category.
class HandOverServer {
public:
    HandOverServer(const std::string& folder, HandOverHandler handler, HandOverLimits limits = {});
    ~HandOverServer();
    HandOverServer(const HandOverServer&) = delete;
    HandOverServer& operator=(const HandOverServer&) = delete;

    // Only the holder of the instance mark listens, so a socket file left by a
    // killed instance is stale and removed first. Throws std::runtime_error.
    void Listen();

    std::size_t OpenConnections() const;
    std::size_t MaxConnections() const;

private:
    class Impl;
    std::unique_ptr<Impl> impl_;
};

std::string HandOverSocketPath(const std::string& folder);

} // namespace velmora
