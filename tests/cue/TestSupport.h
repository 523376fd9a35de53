#pragma once

#include "cue/Cue.h"
#include "files/testing/ScratchFiles.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velmora::testing {

struct Row {
    std::string Caption;
    int Icon = -1;
    bool operator==(const Row&) const = default;
};

struct ChooserCall {
    FileFilterList Filters;
    std::string InitialFolder;
};

// Records what the engine asks of its window and answers file choosers from a list.
class RecordingHost : public RepairHost {
public:
    void SetOpenLinkEnabled(bool enabled) override { linkStates.push_back(enabled); }
    int ProgressPosition() const override { return progress; }
    void SetProgressPosition(int position) override {
        progress = position;
        ++progressSets;
    }
    void PumpEvents() override;
    void ShowWarning(const std::string& text) override { warnings.push_back(text); }
    void AddResultRow(const std::string& caption, int iconIndex) override {
        rows.push_back({caption, iconIndex});
    }
    std::optional<std::string> ChooseFile(const FileFilterList& filters,
                                          const std::string& initialFolder) override;
    TextBuffer& Buffer() override { return buffer; }
    std::uint32_t TickCount() override;
    bool FileExists(const std::string& path) override { return RegularFileExists(path); }
    std::error_code MoveFile(const std::string& from, const std::string& to) override;
    std::optional<std::string> ChooseReferencedFile(const FileRequest& request) override;
    void DescribeResultRow(const RowReport& report) override { reports.push_back(report); }
    bool AnimatesProgress() const override { return animates; }

    std::vector<bool> linkStates;
    int progress = 0;
    int progressSets = 0;
    int pumps = 0;
    std::function<void()> onPump;
    std::vector<std::string> warnings;
    std::vector<Row> rows;
    std::vector<ChooserCall> chooserCalls;
    // Answers in order; nothing left, or std::nullopt, means cancel.
    std::vector<std::optional<std::string>> chooserAnswers;
    TextBuffer buffer;
    std::uint32_t tick = 0;
    std::uint32_t tickStep = 1;
    bool animates = true;
    std::vector<std::pair<std::string, std::string>> moves;
    std::vector<FileRequest> requests;
    // Takes the one candidate of a request without asking, as velmora-fix --auto does.
    bool takeSingleCandidate = false;
    std::vector<RowReport> reports;
};

} // namespace velmora::testing
