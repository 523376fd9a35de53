#pragma once

#include "cli/DryRunStorage.h"
#include "cli/TerminalHost.h"

namespace velmora::fix {

// The terminal host with the file system left alone: the run is the real one, on a storage that keeps
// its writes and moves instead of making them and answers later questions as if they were made.
class DryRunHost : public TerminalHost {
public:
    using TerminalHost::TerminalHost;

    void BeginRun() override;

    SheetStorage& Storage() override { return storage_; }
    // A file the run would have moved is measured where it still lies.
    LengthReader* Lengths() override;

    const std::vector<RecordedWrite>& SheetWrites() const { return storage_.SheetWrites(); }
    const std::vector<PlannedMove>& Moves() const { return storage_.Moves(); }

private:
    // Reads a moved file's length at its source.
    class MovedFileLengths final : public LengthReader {
    public:
        explicit MovedFileLengths(DryRunHost& host) : host_(host) {}
        LengthReading AudioLengthOf(const std::string& path) override;
        std::optional<std::uint64_t> FileSizeOf(const std::string& path) override;

    private:
        DryRunHost& host_;
    };

    // What the dry run reads and checks its refusals against: the disk, never written.
    FolderStorage disk_;
    DryRunStorage storage_{disk_};
    MovedFileLengths movedLengths_{*this};
};

} // namespace velmora::fix
