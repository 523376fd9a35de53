#pragma once

#include "cue/Cue.h"
#include "files/testing/ScratchFiles.h"

#include <cstdint>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace velmora::testkit {

struct Row {
    std::string Caption;
    int Icon = -1;
    bool operator==(const Row&) const = default;
};

struct ChooserCall {
    FileFilterList Filters;
    std::string InitialFolder;
};

// The disk's storage, with hooks a test sets to act on the disk right before a move or a record write.
class TestStorage final : public FolderStorage {
public:
    std::error_code MoveFile(const std::string& from, const std::string& to) override;
    void WriteMoveRecord(const std::string& recordPath, std::string_view bytes,
                         const std::string& sheetPath) override;
    std::function<void(const std::string&, const std::string&)> beforeMove;
    std::function<void(const std::string&)> beforeRecord;
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
    SheetStorage& Storage() override { return storage; }
    std::optional<std::string> ChooseReferencedFile(const FileRequest& request) override;
    void DescribeResultRow(const RowReport& report) override { reports.push_back(report); }
    bool AnimatesProgress() const override { return animates; }
    LengthReader* Lengths() override { return lengths; }

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
    TestStorage storage;
    std::vector<FileRequest> requests;
    // Takes the one candidate of a request that may hold the sheet's times without asking, as
    // velmora-fix --auto does.
    bool takeSingleCandidate = false;
    LengthReader* lengths = nullptr;
    std::vector<RowReport> reports;
};

// Lengths a test sets by file name; sizes come from the files themselves.
class FixedLengths final : public LengthReader {
public:
    LengthReading AudioLengthOf(const std::string& path) override;
    std::map<std::string, AudioLength> byName;
    std::vector<std::string> asked;
};

// Appends the `bytes` low bytes of `value`, lowest first, as the headers of RIFF and its kin hold numbers.
void PutLittleEndian(std::string& out, std::uint64_t value, int bytes);
// Writes a WAV file of 16-bit stereo silence holding `sampleFrames` samples a channel.
void WriteWav(const std::string& path, std::uint64_t sampleFrames, std::uint32_t sampleRate = 44100);
// The same, its samples after more chunks than the own WAV probe walks: a layout only TagLib reads.
void WriteWavAfterManyChunks(const std::string& path, std::uint64_t sampleFrames);
// CD audio: 588 samples a frame at 44,100 a second.
inline constexpr std::uint64_t kSamplesPerCdFrame = 588;

// A repair run on sheets in a scratch folder, through a recording host that does not animate.
class SheetRepairTest : public ::testing::Test {
protected:
    SheetRepairTest() { host.animates = false; }
    RunOutcome Run(const std::string& name) {
        state.CuePath = folder / name;
        return traitementCUE(state, host);
    }
    TempFolder folder;
    TempFolder elsewhere;
    RecordingHost host;
    RepairState state;
};

// Runs a program with its arguments, its output thrown away; its exit status, or -1 (Linux only).
int RunProgram(const std::vector<std::string>& arguments);

} // namespace velmora::testkit
