#include "../../messages/ScopedLanguage.h"
#include "cue/probes/ProbeLengthReader.h"
#include "cue/taglib/TagLibLengthReader.h"
#include "tests/cue/EncodedAudio.h"
#include "tests/cue/TestSupport.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using testkit::EncodedAudio;
using testkit::kToneSeconds;

constexpr const char* kCut = "the file is shorter than its header says";
constexpr const char* kTooDeep = "its length lies deeper in the file than a header is read";
constexpr const char* kZeros = "it begins with zeros, not a header";
constexpr const char* kNoFrame = "no MPEG audio frame lies near its start";

// A file cut short whose bytes do not say how much time they hold: its length must be clearly less than
// the whole, or unknown, so that no sheet for the whole fits it.
constexpr double kCutShort = -1;
constexpr double kUnchecked = -2;

struct Expected {
    const char* file;
    // The seconds it holds, to a tenth; kCutShort; or kUnchecked, and then `reason`.
    double seconds;
    const char* reason = "";
};

std::string Described(const LengthReading& reading) {
    if (!reading) {
        return "UNCHECKED: " + reading.Reason;
    }
    return std::to_string(static_cast<double>(reading->Samples) / reading->SampleRate) + " s";
}

TEST(AudioLengths, EachFileHoldsWhatTheTableSaysOrIsUncheckedWithItsReason) {
    const ScopedLanguage english(kEnglishMessages);
    ASSERT_EQ(testkit::EncodingProblem(), "");
    const double whole = kToneSeconds;
    const Expected table[] = {
        {"tone.wav", whole},
        {"tone.aiff", whole},
        {"tone.flac", whole},
        {"tone.mp3", whole},
        {"tone-vbr.mp3", whole},
        {"tone-bare.mp3", whole},
        {"tone-bare-vbr.mp3", kUnchecked, "its frames are not counted and their bit rate varies"},
        {"tone-cover.mp3", whole},
        {"junk-first.mp3", whole},
        {"zeros-first.mp3", whole},
        {"junk-first-info.mp3", whole},
        {"junk-too-deep.mp3", kUnchecked, kNoFrame},
        {"tone.ogg", whole},
        {"tone.opus", whole},
        {"tone.wv", whole},
        {"tone.mpc", whole},
        {"tone.m4a", whole},
        {"tone-fast.m4a", whole},
        {"tone.ape", whole},
        {"tone-old.ape", whole},
        {"tone-sv7.mpc", whole},
        // Cut short: what is left of the samples, or nothing a user could be misled by.
        {"tone-10.wav", 0.1 * whole},
        {"tone-50.wav", 0.5 * whole},
        {"tone-90.wav", 0.9 * whole},
        {"tone-10.flac", kCutShort},
        {"tone-50.flac", kCutShort},
        {"tone-90.flac", kCutShort},
        {"tone-10.mp3", 0.1 * whole},
        {"tone-50.mp3", 0.5 * whole},
        {"tone-90.mp3", 0.9 * whole},
        {"tone-bare-10.mp3", 0.1 * whole},
        {"tone-bare-50.mp3", 0.5 * whole},
        {"tone-bare-90.mp3", 0.9 * whole},
        {"tone-vbr-10.mp3", kUnchecked, kCut},
        {"tone-vbr-50.mp3", kUnchecked, kCut},
        {"tone-vbr-90.mp3", kUnchecked, kCut},
        {"tone-10.ogg", kCutShort},
        {"tone-50.ogg", kCutShort},
        {"tone-90.ogg", kCutShort},
        {"tone-10.opus", kCutShort},
        {"tone-50.opus", kCutShort},
        {"tone-90.opus", kCutShort},
        {"tone-10.wv", kCutShort},
        {"tone-50.wv", kCutShort},
        {"tone-90.wv", kCutShort},
        {"tone-10.mpc", kUnchecked, kCut},
        {"tone-50.mpc", kUnchecked, kCut},
        {"tone-90.mpc", kUnchecked, kCut},
        {"tone-10.m4a", kUnchecked, kCut},
        {"tone-50.m4a", kUnchecked, kCut},
        {"tone-90.m4a", kUnchecked, kCut},
        {"tone-fast-10.m4a", kUnchecked, kCut},
        {"tone-fast-50.m4a", kUnchecked, kCut},
        {"tone-fast-90.m4a", kUnchecked, kCut},
        {"tone-10.ape", kUnchecked, kCut},
        {"tone-50.ape", kUnchecked, kCut},
        {"tone-90.ape", kUnchecked, kCut},
        {"tone-old-10.ape", kUnchecked, kCut},
        {"tone-old-50.ape", kUnchecked, kCut},
        {"tone-old-90.ape", kUnchecked, kCut},
        {"tone-sv7-10.mpc", kUnchecked, kCut},
        {"tone-sv7-50.mpc", kUnchecked, kCut},
        {"tone-sv7-90.mpc", kUnchecked, kCut},
        {"tone-10.aiff", 0.1 * whole},
        {"tone-50.aiff", 0.5 * whole},
        {"tone-90.aiff", 0.9 * whole},
        // Written to a pipe: the length comes from what the file holds.
        {"piped.flac", whole},
        {"piped.wav", whole},
        {"piped.mp3", whole},
        {"piped.ogg", whole},
        // Headers that lie.
        {"one-hertz.wav", kUnchecked, "its header's length, 2940:00.00, is not plausible"},
        {"no-channels.wav", kUnchecked, "its header gives no channels, sample rate or sample size"},
        {"one-frame.mp3", kUnchecked, "its header's length, 00:00.02, is not plausible"},
        {"noise.mpc", kUnchecked, ""},
        {"noise.ogg", kUnchecked, ""},
        {"noise.m4a", kUnchecked, ""},
        {"noise.ape", kUnchecked, ""},
        {"noise-sv7.mpc", kUnchecked, ""},
        {"noise-old.ape", kUnchecked, ""},
        {"huge-box.m4a", kUnchecked, kCut},
        // Sparse and unfinished files cost a header's read.
        {"zeros.mp3", kUnchecked, kZeros},
        {"zeros-10g.mp3", kUnchecked, kZeros},
        {"zeros.flac", kUnchecked, kZeros},
        {"zeros.wav", kUnchecked, kZeros},
        {"zeros.ogg", kUnchecked, kZeros},
        {"zeros.wv", kUnchecked, kZeros},
        {"zeros.aiff", kUnchecked, kZeros},
        {"noise-then-zeros.mp3", kUnchecked, kNoFrame},
        {"unfinished.flac", kUnchecked, kCut},
    };
    TagLibLengthReader otherFormats;
    ProbeLengthReader reader(&otherFormats);
    for (const Expected& expected : table) {
        const LengthReading reading = reader.AudioLengthOf(EncodedAudio() / expected.file);
        const std::string described = Described(reading);
        if (expected.seconds == kCutShort) {
            EXPECT_TRUE(!reading ||
                        static_cast<double>(reading->Samples) / reading->SampleRate < 0.95 * whole)
                << expected.file << ": " << described;
        } else if (expected.seconds == kUnchecked) {
            EXPECT_EQ(described.substr(0, 11 + std::string(expected.reason).size()),
                      std::string("UNCHECKED: ") + expected.reason)
                << expected.file << ": " << described;
        } else {
            EXPECT_TRUE(reading) << expected.file << ": " << described;
            const double seconds = reading ? static_cast<double>(reading->Samples) / reading->SampleRate : -1;
            EXPECT_NEAR(seconds, expected.seconds, 0.1) << expected.file << ": " << described;
        }
    }
}

} // namespace
} // namespace velmora
