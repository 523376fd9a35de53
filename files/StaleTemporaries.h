#pragma once

#include <string>

namespace velmora {

// Files are written under a hidden temporary name of our own pattern (".<target>.<16 hex digits>.tmp")
// in the target's folder before they take the target's name; a later process sweeps away what a killed
// one left.

// Removes our hidden temporaries from `folder` that belong to this user and are older than this process,
// once per folder and process: what a killed earlier run left behind. On Linux only while no other run
// holds a claim on the folder, and on Windows only those no run holds open, so that a run's staged files
// outlive another run's sweep.
void SweepStaleTemporaries(const std::string& folder);

// A run's claim on a folder it keeps hidden temporaries in, held from before the first is made until
// after the last is renamed or removed. The first claim of a process on a folder sweeps it. On Linux the
// claim is a shared lock on the folder, which the kernel lets go when the run ends however it ends; a
// sweep needs the lock alone, so it never removes what a living run staged. On Windows a run holds each
// temporary it writes beneath a folder open without sharing its deletion, until it is renamed or removed
// or the last claim on the folder ends, and the sweep removes only what it can open for deletion.
class TemporaryFolderClaim {
public:
    explicit TemporaryFolderClaim(const std::string& folder);
    ~TemporaryFolderClaim();
    TemporaryFolderClaim(TemporaryFolderClaim&& other) noexcept;
    TemporaryFolderClaim(const TemporaryFolderClaim&) = delete;
    TemporaryFolderClaim& operator=(const TemporaryFolderClaim&) = delete;
    TemporaryFolderClaim& operator=(TemporaryFolderClaim&&) = delete;

private:
    // Empty once moved from.
    std::string folder_;
};

} // namespace velmora
