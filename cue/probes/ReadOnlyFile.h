#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace velmora {

// A regular file opened for reading only: opening one for writing tells every watcher of the music
// folder that it changed. A path that is no regular file (a folder, a FIFO, a device) does not open,
// and a FIFO never blocks the open.
class ReadOnlyFile {
public:
    explicit ReadOnlyFile(const std::string& path);
    // A file another reader opened and keeps open (`handle`, of `size` bytes): read, never closed.
    ReadOnlyFile(std::intptr_t handle, std::uint64_t size)
        : handle_(handle), open_(true), owned_(false), size_(size) {}
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    bool IsOpen() const { return open_; }
    // The descriptor or HANDLE, for another reader to borrow while this one is open.
    std::intptr_t Handle() const { return handle_; }
    std::uint64_t Size() const { return size_; }
    // Fills `out` with up to `count` bytes from `offset`; fewer at the end of the file or on an error.
    std::size_t ReadAt(std::uint64_t offset, char* out, std::size_t count);

private:
    // A file descriptor or a HANDLE, by system.
    std::intptr_t handle_ = -1;
    bool open_ = false;
    bool owned_ = true;
    std::uint64_t size_ = 0;
};

} // namespace velmora
