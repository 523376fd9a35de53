#pragma once

#include "TerminalHost.h"

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

    const std::vector<RecordedWrite>& SheetWrites() const { return sheetWrites_; }
    const std::vector<PlannedMove>& Moves() const { return moves_; }

private:
    std::vector<RecordedWrite> sheetWrites_;
    std::vector<PlannedMove> moves_;
    // What the kept moves took away and put in place, for the whole batch.
    std::set<std::string> movedAway_;
    std::set<std::string> movedIn_;
};

} // namespace velmora::fix
