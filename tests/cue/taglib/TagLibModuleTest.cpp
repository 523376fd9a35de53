#include "cue/probes/TagLibModule.h"

#include "cue/probes/ProbeLengthReader.h"
#include "tests/cue/EncodedAudio.h"
#include "tests/cue/TestSupport.h"

#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <latch>
#include <thread>
#include <unistd.h>

namespace velmora {
namespace {

using testkit::EncodedAudio;
using testkit::TempFolder;
using testkit::WriteFile;

std::string Described(const LengthReading& reading) {
    return reading ? std::to_string(reading->Samples) + " at " + std::to_string(reading->SampleRate)
                   : "UNCHECKED: " + reading.Reason;
}

// The formats the own probes leave go to TagLib through its module, loaded the first time one is met; a
// module that is missing or broken leaves them unchecked with the reason, in the user's language (these
// tests run on a French desktop), and never stops the probes.
TEST(TagLibModule, ReadsWhatTheProbesLeaveAndSaysWhyWhenItCannotBeLoaded) {
    ASSERT_EQ(testkit::EncodingProblem(), "");
    const TempFolder folder;
    testkit::WriteWavAfterManyChunks(folder / "chunks.wav", 44100);
    const TempFolder broken;
    WriteFile(broken / "velmora-taglib.so", "not a shared object");
    const TempFolder empty;
    const struct {
        const char* name;
        std::vector<std::string> folders;
        const char* chunks;
    } cases[] = {
        {"built", {empty.Path(), VELMORA_MODULE_DIR}, "44100 at 44100"},
        {"missing",
         {empty.Path(), "/nonexistent"},
         "UNCHECKED: le lecteur de son format, velmora-taglib.so, n'est pas installé"},
        {"broken",
         {broken.Path(), VELMORA_MODULE_DIR},
         "UNCHECKED: le lecteur de son format ne peut pas être chargé : "},
    };
    for (const auto& c : cases) {
        TagLibModule module(c.folders);
        ProbeLengthReader reader(&module);
        const std::string chunks = Described(reader.AudioLengthOf(folder / "chunks.wav"));
        EXPECT_EQ(chunks.substr(0, std::string(c.chunks).size()), c.chunks) << c.name;
        // Asked again, the module is not looked for again, and answers the same.
        EXPECT_EQ(Described(reader.AudioLengthOf(folder / "chunks.wav")), chunks) << c.name;
        // What the probes read needs no module.
        for (const char* probed :
             {"tone.wav", "tone.flac", "tone.mp3", "tone-bare.mp3", "tone.ogg", "tone.wv"}) {
            EXPECT_TRUE(reader.AudioLengthOf(EncodedAudio() / probed)) << c.name << ": " << probed;
        }
    }
}

// The file the probes opened is the one TagLib reads: it is not looked up by its name again, so a
// name that changed hands in between is not read, and one open serves every reader of the file.
TEST(TagLibModule, ReadsTheFileTheProbesHoldOpenNotItsNameAgain) {
    ASSERT_EQ(testkit::EncodingProblem(), "");
    const TempFolder folder;
    for (const char* name : {"tone.m4a", "tone.mpc", "tone.ape"}) {
        WriteFile(folder / name, testkit::ReadFile(EncodedAudio() / name));
        const int held = ::open((folder / name).c_str(), O_RDONLY | O_CLOEXEC);
        ASSERT_GE(held, 0);
        const std::uint64_t size = std::filesystem::file_size(folder / name);
        ::unlink((folder / name).c_str());
        TagLibModule module({VELMORA_MODULE_DIR});
        EXPECT_TRUE(module.AudioLengthOfOpen(folder / name, held, size)) << name;
        EXPECT_FALSE(module.AudioLengthOf(folder / name)) << name;
        // The caller's descriptor is still open for it to close.
        EXPECT_EQ(::close(held), 0) << name;
    }
}

// The window may probe while a run reads: two threads that meet the first file TagLib reads at the same
// moment both wait for the one loading and both get the length. A thread that went on while the other
// was still loading would find no reader yet and leave the file unchecked, without a reason.
TEST(TagLibModule, TwoThreadsThatMeetTheFirstFileAtOnceBothReadIt) {
    const TempFolder folder;
    testkit::WriteWavAfterManyChunks(folder / "chunks.wav", 44100);
    // Each round loads the module anew, as it is unloaded with the reader that loaded it.
    for (int round = 0; round < 20; ++round) {
        TagLibModule module({VELMORA_MODULE_DIR});
        std::latch start(2);
        std::string answers[2];
        std::thread threads[2];
        for (int i = 0; i < 2; ++i) {
            threads[i] = std::thread([&, i] {
                start.arrive_and_wait();
                answers[i] = Described(module.AudioLengthOf(folder / "chunks.wav"));
            });
        }
        for (std::thread& thread : threads) {
            thread.join();
        }
        EXPECT_EQ(answers[0], "44100 at 44100") << "round " << round;
        EXPECT_EQ(answers[1], "44100 at 44100") << "round " << round;
    }
}

} // namespace
} // namespace velmora
