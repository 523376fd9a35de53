#pragma once

#include "cue/Cue.h"

#include <optional>
#include <string>
#include <vector>

namespace velmora::fix {

// The engine's host in a terminal: no window, no animation; the file chooser is answered from the
// command line. It keeps what the current run reported until the next BeginRun.
class TerminalHost : public RepairHost {
public:
    // With `takeSingleCandidate`, a missing file that the best rule finds exactly once beside the sheet
    // is taken without asking; otherwise the answers decide.
    TerminalHost(std::optional<std::string> binAnswer, std::optional<std::string> audioAnswer,
                 bool takeSingleCandidate = false);

    void BeginRun();

    void SetOpenLinkEnabled(bool) override {}
    int ProgressPosition() const override { return progress_; }
    void SetProgressPosition(int position) override { progress_ = position; }
    void PumpEvents() override {}
    void ShowWarning(const std::string& text) override { warnings_.push_back(text); }
    void AddResultRow(const std::string& caption, int) override { rows_.push_back(caption); }
    std::optional<std::string> ChooseFile(const FileFilterList& filters, const std::string&) override;
    std::optional<std::string> ChooseReferencedFile(const FileRequest& request) override;
    TextBuffer& Buffer() override { return buffer_; }
    std::uint32_t TickCount() override;
    bool FileExists(const std::string& path) override { return RegularFileExists(path); }
    bool MoveFile(const std::string& from, const std::string& to) override {
        return !MoveFileNoReplace(from, to);
    }
    bool AnimatesProgress() const override { return false; }

    const std::vector<std::string>& Rows() const { return rows_; }
    const std::vector<std::string>& Warnings() const { return warnings_; }

private:
    std::optional<std::string> binAnswer_;
    std::optional<std::string> audioAnswer_;
    bool takeSingleCandidate_;
    int progress_ = 0;
    TextBuffer buffer_;
    std::vector<std::string> rows_;
    std::vector<std::string> warnings_;
};

} // namespace velmora::fix
