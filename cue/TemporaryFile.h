#pragma once

#include <string>
#include <sys/types.h>
#include <system_error>

namespace velmora {

// A new file in the folder of a target, written and flushed before it takes the target's name. Where
// the file system allows it the file has no name at all until then, so a killed process leaves nothing
// behind; elsewhere it has a hidden name of our own pattern (".<target>.<16 hex digits>.tmp"), created
// exclusively, that a later process sweeps away.
class TemporaryFile {
public:
    // Opens the file with `mode` (filtered by the umask); check Descriptor() for failure (errno is set).
    TemporaryFile(const std::string& target, mode_t mode);
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
    int fd_ = -1;
    bool unnamed_ = false;
    // The hidden name while the file has one.
    std::string path_;
};

// True when `name` is one of our hidden temporary names.
bool IsTemporaryName(const std::string& name);

// Removes our hidden temporaries from `folder` that belong to this user and are older than this process,
// once per folder and process: what a killed earlier run left behind.
void SweepStaleTemporaries(const std::string& folder);

} // namespace velmora
