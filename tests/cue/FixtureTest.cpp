#include "TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace velmora {
namespace {

using testing::ReadFile;
using testing::RecordingHost;
using testing::TempFolder;
using testing::WriteFile;

// Each fixture is a sheet in tests/data/cue with the sheet expected after the repair beside it
// (<name>.expected.cue). The files it names exist; choosers are cancelled.
struct Fixture {
    std::string name;
    std::string row;
    std::vector<std::string> presentFiles;
};

TEST(Fixtures, RepairToTheirExpectedSheets) {
    const Fixture fixtures[] = {
        {"lf_only", "lf_only.cue => CORRECTED", {"Album.flac"}},
        {"valid_frames", "valid_frames.cue => GOOD", {"Live.wav"}},
        {"carries", "carries.cue => CORRECTED", {"Long.mp3"}},
        {"shared_times", "shared_times.cue => CORRECTED", {"Mix.wav"}},
        {"quoted_before_file", "quoted_before_file.cue => GOOD", {"Real Name.wav"}},
        {"missing_audio", "missing_audio.cue => BAD", {}},
    };
    for (const Fixture& fixture : fixtures) {
        TempFolder folder;
        const std::string source = std::string(VELMORA_TEST_DATA) + "/" + fixture.name;
        const std::string sheet = folder / (fixture.name + ".cue");
        std::filesystem::copy_file(source + ".cue", sheet);
        for (const std::string& present : fixture.presentFiles)
            WriteFile(folder / present, "");

        RecordingHost host;
        host.animates = false;
        RepairState state;
        state.CuePath = sheet;
        traitementCUE(state, host);

        ASSERT_EQ(host.rows.size(), 1u) << fixture.name;
        EXPECT_EQ(host.rows[0].Caption, fixture.row);
        EXPECT_EQ(ReadFile(sheet), ReadFile(source + ".expected.cue")) << fixture.name;
    }
}

} // namespace
} // namespace velmora
