#include "cue/lengths/LengthFit.h"
#include "cue/probes/ProbeLengthReader.h"
#include "cue/taglib/TagLibLengthReader.h"
#include "tests/cue/TestSupport.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {
namespace {

using testkit::kSamplesPerCdFrame;
using testkit::RunProgram;
using testkit::TempFolder;
using testkit::WriteFile;
using testkit::WriteWav;

// Ten seconds and one frame of CD audio.
constexpr std::uint64_t kSamples = 751 * kSamplesPerCdFrame;

TEST(TagLibLengths, WavAndFlacCountTheirSamplesAndMp3IsCloseBehind) {
    const TempFolder folder;
    WriteWav(folder / "a.wav", kSamples);
    ASSERT_EQ(RunProgram({"flac", "--silent", "--force", "-o", folder / "a.flac", folder / "a.wav"}), 0)
        << "flac is missing (tools/packages.txt)";
    ASSERT_EQ(RunProgram({"lame", "--quiet", folder / "a.wav", folder / "a.mp3"}), 0)
        << "lame is missing (tools/packages.txt)";
    WriteWav(folder / "b.wav", 22050, 22050);
    TagLibLengthReader otherFormats;
    ProbeLengthReader reader(&otherFormats);

    for (const char* name : {"a.wav", "a.flac"}) {
        const LengthReading length = reader.AudioLengthOf(folder / name);
        EXPECT_TRUE(length) << name;
        if (!length) {
            continue;
        }
        EXPECT_EQ(length->Samples, kSamples) << name;
        EXPECT_EQ(length->SampleRate, 44100u) << name;
    }
    const LengthReading other = reader.AudioLengthOf(folder / "b.wav");
    ASSERT_TRUE(other);
    EXPECT_EQ(FormatAudioLength(*other), "00:01.00");

    // The encoder pads its last frame: the length read is a little longer, never shorter.
    const LengthReading mp3 = reader.AudioLengthOf(folder / "a.mp3");
    ASSERT_TRUE(mp3);
    const double seconds = static_cast<double>(mp3->Samples) / mp3->SampleRate;
    EXPECT_GE(seconds, 751.0 / 75 - 0.001);
    EXPECT_LT(seconds, 751.0 / 75 + 0.1);
}

TEST(TagLibLengths, FilesAreOnlyEverOpenedForReading) {
    // A file opened for writing tells whoever watches the music folder that it changed, written or not.
    const TempFolder folder;
    WriteWav(folder / "a.wav", 75 * kSamplesPerCdFrame);
    ASSERT_EQ(RunProgram({"lame", "--quiet", folder / "a.wav", folder / "a.mp3"}), 0);
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(::inotify_add_watch(watch, folder.Path().c_str(), IN_CLOSE_WRITE | IN_MODIFY | IN_ATTRIB), 0);
    TagLibLengthReader otherFormats;
    ProbeLengthReader reader(&otherFormats);
    for (const char* name : {"a.wav", "a.mp3"}) {
        EXPECT_TRUE(reader.AudioLengthOf(folder / name)) << name;
    }
    alignas(inotify_event) char events[4096];
    EXPECT_EQ(::read(watch, events, sizeof events), -1);
    EXPECT_EQ(errno, EAGAIN);
    ::close(watch);
}

TEST(TagLibLengths, WhatIsNoAudioHasNoLength) {
    const TempFolder folder;
    WriteFile(folder / "text.mp3", "these are not the frames you are looking for\n");
    WriteFile(folder / "empty.wav", "");
    WriteFile(folder / "truncated.flac", std::string("fLaC\0\0", 6));
    // A FIFO is never opened in a way that waits for a writer.
    ASSERT_EQ(::mkfifo((folder / "pipe.wav").c_str(), 0600), 0);
    for (const char* name :
         {"text.mp3", "empty.wav", "truncated.flac", "missing.wav", "folder", "pipe.wav"}) {
        TagLibLengthReader otherFormats;
        EXPECT_FALSE(ProbeLengthReader(&otherFormats).AudioLengthOf(folder / name)) << name;
    }
    EXPECT_EQ(TagLibLengthReader().FileSizeOf(folder / "text.mp3"), 45u);
    EXPECT_FALSE(TagLibLengthReader().FileSizeOf(folder.Path()));
}

} // namespace
} // namespace velmora
