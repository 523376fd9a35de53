#pragma once

#include "files/StaleTemporaries.h"

#include <string>
#include <sys/types.h>
#include <system_error>
#include <utility>

namespace velmora {

// A new file in the folder of a target, written and flushed before it takes the target's name. It has
// one of our hidden temporary names, created exclusively. Large copies ask for an unnamed file instead,
// where the file system allows it, so that a killed copy leaves nothing at all.
class TemporaryFile {
public:
    enum class Naming { Hidden, UnnamedWherePossible };

    // Opens the file with `mode` (filtered by the umask); check Descriptor() for failure (errno is set).
    TemporaryFile(const std::string& target, mode_t mode, Naming naming = Naming::Hidden);
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int Descriptor() const { return fd_; }

    // Flushes the data to disk and closes the file.
    std::error_code FlushAndClose();
    // Gives the file the name `to` unless that name exists.
    std::error_code LinkAs(const std::string& to);
    // Puts the file in place of `to`, replacing the directory entry itself (never what a link points at).
    std::error_code ReplaceAs(const std::string& to);

private:
    std::error_code NameBeside(const std::string& target);

    std::string folder_;
    std::string baseName_;
    TemporaryFolderClaim claim_;
    int fd_ = -1;
    bool unnamed_ = false;
    // The hidden name while the file has one.
    std::string path_;
};

} // namespace velmora
