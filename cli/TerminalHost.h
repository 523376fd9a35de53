#pragma once

#include "cli/StagingStorage.h"
#include "cue/Cue.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace velmora::fix {

// The engine's host in a terminal: no window, no animation; the file choosers are answered from the
// command line, each answer once. It keeps what the current run reported until the next BeginRun.
class TerminalHost : public RepairHost {
public:
    // With `takeSingleCandidate`, a missing file that the best rule finds exactly once beside the sheet
    // is taken without asking, unless its length is too short for the sheet's times; among several, the
    // one left when the others are too short is taken. Otherwise the answers decide, and a question
    // with none left is cancelled.
    TerminalHost(std::vector<std::string> binAnswers, std::vector<std::string> audioAnswers,
                 bool takeSingleCandidate = false);

    virtual void BeginRun();

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
    SheetStorage& Storage() override { return storage_; }
    bool AnimatesProgress() const override { return false; }
    // The reader of lengths the runs use, kept by the caller; none turns the length checks off.
    void UseLengths(LengthReader* reader) { lengths_ = reader; }
    LengthReader* Lengths() override { return lengths_; }
    // With a batch, sheet and backup writes are staged in it for sheet number `sheet`; without one they
    // are made at once.
    void UseBatch(BatchWrites* batch, std::size_t sheet) { storage_.UseBatch(batch, sheet); }

    const std::vector<std::string>& Rows() const { return rows_; }
    const std::vector<std::string>& Warnings() const { return warnings_; }

private:
    std::deque<std::string> binAnswers_;
    std::deque<std::string> audioAnswers_;
    bool takeSingleCandidate_;
    int progress_ = 0;
    TextBuffer buffer_;
    std::vector<std::string> rows_;
    std::vector<std::string> warnings_;
    StagingStorage storage_;
    LengthReader* lengths_ = nullptr;
};

} // namespace velmora::fix
