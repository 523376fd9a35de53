#pragma once

#include <memory>
#include <string>

namespace velmora {

// The mark of the running instance: an exclusive flock on Test.lock in the
// runtime folder. The kernel drops it when the process ends, however it ends,
// so a killed instance never blocks the next start.
class InstanceMark {
public:
    // Null when another process holds the mark; std::runtime_error when the
    // lock file cannot be opened at all.
    static std::unique_ptr<InstanceMark> Acquire(const std::string& folder);

    ~InstanceMark();
    InstanceMark(const InstanceMark&) = delete;
    InstanceMark& operator=(const InstanceMark&) = delete;

private:
    explicit InstanceMark(int fd) : fd_(fd) {}
    int fd_;
};

} // namespace velmora
