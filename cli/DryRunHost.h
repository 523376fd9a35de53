#pragma once

#include "cli/TerminalHost.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace velmora::fix {

// A sheet write that a dry run kept instead of making.
struct RecordedWrite {
    std::string Path;
    std::string Before;
    std::string After;
};

// The terminal host with the file system left alone: the run is the real one, but moves and writes are
// checked as the real operations would check them (a refusal is the same error) and kept, and later
// questions of the run see the moves as made.
class DryRunHost : public TerminalHost {
public:
    using TerminalHost::TerminalHost;

    void BeginRun() override;

    // A dry run removes nothing, leftovers included.
    void RemoveStaleTemporaries(const std::string&) override {}
    bool FileExists(const std::string& path) override;
    std::error_code MoveFile(const std::string& from, const std::string& to) override;
    void WriteSheet(const std::string& path, std::string_view bytes) override;
    void WriteBackup(const std::string& backupPath, std::string_view bytes,
                     const std::string& sheetPath) override;
    void WriteMoveRecord(const std::string& recordPath, std::string_view bytes,
                         const std::string& sheetPath) override;
    // A file the run would have moved is measured where it still lies.
    LengthReader* Lengths() override;

    const std::vector<RecordedWrite>& SheetWrites() const { return sheetWrites_; }
    const std::vector<PlannedMove>& Moves() const { return moves_; }

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
    const std::string& WherePathLies(const std::string& path) const;

    std::vector<RecordedWrite> sheetWrites_;
    std::vector<PlannedMove> moves_;
    // What the kept moves took away and put in place, for the whole batch.
    std::set<std::string> movedAway_;
    std::set<std::string> movedIn_;
    // Where each file moved in lies until the moves are made.
    std::map<std::string, std::string> sources_;
    MovedFileLengths movedLengths_{*this};
};

} // namespace velmora::fix
