#include "cue/probes/StatedLength.h"

#include "../../messages/ScopedLanguage.h"
#include "cue/probes/ProbeLengthReader.h"
#include "cue/repair/RowReport.h"
#include "cue/taglib/HeaderStream.h"
#include "cue/taglib/TagLibLength.h"
#include "cue/taglib/TagLibLengthReader.h"
#include "tests/cue/TestSupport.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace velmora {
namespace {

using testkit::RunProgram;
using testkit::TempFolder;
using testkit::WriteFile;
using testkit::WriteWav;

std::string LittleEndian(std::uint32_t value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    return out;
}

std::string Chunk(const std::string& name, const std::string& body) {
    std::string chunk = name + LittleEndian(static_cast<std::uint32_t>(body.size()), 4) + body;
    if (body.size() % 2 != 0) {
        chunk += '\0';
    }
    return chunk;
}

std::string Format(std::uint32_t tag, std::uint32_t channels, std::uint32_t rate, std::uint32_t bits,
                   const std::string& extension = "") {
    const std::uint32_t align = channels * ((bits + 7) / 8);
    return Chunk("fmt ", LittleEndian(tag, 2) + LittleEndian(channels, 2) + LittleEndian(rate, 4) +
                             LittleEndian(rate * align, 4) + LittleEndian(align, 2) + LittleEndian(bits, 2) +
                             extension);
}

// RIFF/WAVE around `chunks`, its size field telling the truth unless `sizeError` says by how much not.
std::string Riff(const std::string& chunks, int sizeError = 0) {
    return "RIFF" + LittleEndian(static_cast<std::uint32_t>(chunks.size() + 4 + sizeError), 4) + "WAVE" +
           chunks;
}

std::string Data(std::size_t bytes) {
    return Chunk("data", std::string(bytes, '\x11'));
}

std::string Patched(std::string bytes, std::size_t at, const std::string& with) {
    return bytes.replace(at, with.size(), with);
}

bool operator==(const std::optional<AudioLength>& a, const std::optional<AudioLength>& b) {
    return a.has_value() == b.has_value() &&
           (!a || (a->Samples == b->Samples && a->SampleRate == b->SampleRate));
}

std::string Describe(const std::optional<AudioLength>& length) {
    return length ? std::to_string(length->Samples) + " at " + std::to_string(length->SampleRate) : "nothing";
}

std::string Describe(const LengthReading& reading) {
    return reading ? Describe(reading.Length)
                   : "nothing" + (reading.Reason.empty() ? "" : ": " + reading.Reason);
}

// What TagLib alone reads in the file at `path`.
std::optional<AudioLength> TagLibAlone(const std::string& path) {
    ByteSource bytes(path);
    HeaderStream stream(bytes, path);
    return bytes.IsOpen() ? TagLibLength(stream) : std::nullopt;
}

// What the program reads: the own probes, and TagLib for the rest.
LengthReading ReadLength(const std::string& path) {
    TagLibLengthReader otherFormats;
    return ProbeLengthReader(&otherFormats).AudioLengthOf(path);
}

struct Case {
    const char* name;
    // Whether the header alone answers, without TagLib.
    bool stated;
    // What the reader answers where it knows better than TagLib; nothing where it answers as TagLib does.
    const char* read = nullptr;
    // The file's bytes, unless an encoder made it above.
    std::optional<std::string> bytes = std::nullopt;
};

TEST(StatedLength, AnswersAsTagLibDoesOrLeavesTheFileToIt) {
    const ScopedLanguage english(kEnglishMessages);
    const TempFolder folder;
    WriteWav(folder / "source.wav", 44100 + 17);
    ASSERT_EQ(RunProgram({"flac", "--silent", "--force", "-o", folder / "a.flac", folder / "source.wav"}), 0)
        << "flac is missing (tools/packages.txt)";
    ASSERT_EQ(RunProgram({"flac", "--silent", "--force", "-T", "TITLE=Tagged", "--padding=9000", "-o",
                          folder / "tagged.flac", folder / "source.wav"}),
              0);
    ASSERT_EQ(RunProgram({"lame", "--quiet", folder / "source.wav", folder / "a.mp3"}), 0)
        << "lame is missing (tools/packages.txt)";
    WriteWav(folder / "source32k.wav", 32000 * 3 + 5, 32000);
    WriteWav(folder / "source48k.wav", 48000 * 2, 48000);
    WriteWav(folder / "source22k.wav", 22050 * 2, 22050);
    const std::vector<std::vector<std::string>> encodings = {
        {"-V", "2", folder / "source.wav", folder / "vbr.mp3"},
        {"-m", "m", folder / "source.wav", folder / "mono.mp3"},
        {"--id3v2-only", "--tt", "Tagged", "--tl", std::string(3000, 'x'), folder / "source.wav",
         folder / "id3.mp3"},
        {folder / "source32k.wav", folder / "32k.mp3"},
        {folder / "source48k.wav", folder / "48k.mp3"},
        {folder / "source22k.wav", folder / "mpeg2.mp3"},
        {"-t", folder / "source.wav", folder / "no-info.mp3"},
        {"-p", folder / "source.wav", folder / "checksum.mp3"},
    };
    for (std::vector<std::string> arguments : encodings) {
        arguments.insert(arguments.begin(), {"lame", "--quiet"});
        ASSERT_EQ(RunProgram(arguments), 0) << arguments.back();
    }
    const std::string mp3 = testkit::ReadFile(folder / "a.mp3");
    const std::string flac = testkit::ReadFile(folder / "a.flac");
    const std::string wav = testkit::ReadFile(folder / "source.wav");
    // An ID3v2 tag of ten bytes of padding before the FLAC stream.
    const std::string id3 = std::string("ID3\x04\0\0\0\0\0\x0A", 10) + std::string(10, '\0');

    ASSERT_EQ(::mkfifo((folder / "pipe.flac").c_str(), 0600), 0);

    const Case cases[] = {
        {"cd.wav", true, nullptr, Riff(Format(1, 2, 44100, 16) + Data(4 * 1000))},
        {"mono8.wav", true, nullptr, Riff(Format(1, 1, 22050, 8) + Data(2000))},
        {"deep.wav", true, nullptr, Riff(Format(1, 2, 48000, 24) + Data(6 * 500))},
        {"list-after-data.wav", true, nullptr,
         Riff(Format(1, 2, 44100, 16) + Data(4 * 300) +
              Chunk("LIST", "INFOISFT" + LittleEndian(4, 4) + "abcd"))},
        {"UPPER.WAV", true, nullptr, Riff(Format(1, 2, 44100, 16) + Data(4 * 1000))},
        {"source.wav", true},
        {"a.flac", true},
        {"tagged.flac", true},
        // TagLib counts the padding byte after an odd data chunk as a sample.
        {"odd-data.wav", true, "1001 at 8000", Riff(Format(1, 1, 8000, 8) + Data(1001))},
        {"extensible.wav", true, nullptr,
         Riff(Format(0xFFFE, 2, 44100, 16,
                     LittleEndian(22, 2) + LittleEndian(16, 2) + LittleEndian(3, 4) + LittleEndian(1, 2) +
                         std::string(14, '\x10')) +
              Data(4 * 700))},
        {"float.wav", true, nullptr, Riff(Format(3, 2, 44100, 32) + Data(8 * 400))},
        {"fact.wav", true, nullptr,
         Riff(Format(1, 2, 44100, 16) + Chunk("fact", LittleEndian(999, 4)) + Data(4 * 1000))},
        {"riff-size-off.wav", true, nullptr, Riff(Format(1, 2, 44100, 16) + Data(4 * 1000), 8)},
        {"id3-first.flac", true, nullptr, id3 + flac},
        // What the file holds, not what its header claims.
        {"data-past-end.wav", true, "489 at 44100",
         Riff(Format(1, 2, 44100, 16) + Data(4 * 1000)).substr(0, 2000)},
        // STREAMINFO's count of samples (the low 36 bits from byte 8 + 13 on) set to "unknown".
        {"unknown-count.flac", true, "44117 at 44100",
         Patched(Patched(flac, 8 + 13, std::string(1, static_cast<char>(flac[8 + 13] & 0xF0))), 8 + 14,
                 std::string(4, '\0'))},
        {"metadata-to-the-end.flac", true, "nothing: the file is shorter than its header says",
         flac.substr(0, 8 + 34)},
        // Broken layouts are TagLib's to read.
        {"no-data.wav", false, nullptr, Riff(Format(1, 2, 44100, 16))},
        {"flac-inside.wav", false, nullptr, flac},
        {"wav-inside.flac", false, nullptr, wav},
        {"a.mp3", true},
        {"vbr.mp3", true},
        {"mono.mp3", true},
        {"id3.mp3", true},
        {"32k.mp3", true},
        {"48k.mp3", true},
        {"mpeg2.mp3", true},
        // No Info header: as long as its bytes at its bit rate.
        {"no-info.mp3", true},
        {"checksum.mp3", true},
        // The Info frame and the start of the next one, cut before the next one's header is whole.
        {"one-frame.mp3", true, "nothing: its header states no length", mp3.substr(0, 419)},
        {"text.wav", false, nullptr, "these are not the samples you are looking for\n"},
        {"empty.wav", false, nullptr, ""},
        {"stub.flac", false, nullptr, std::string("fLaC\0\0", 6)},
        {"missing.wav", false},
        {"pipe.flac", false},
    };
    for (const Case& c : cases) {
        if (c.bytes) {
            WriteFile(folder / c.name, *c.bytes);
        }
    }
    for (const Case& c : cases) {
        const std::string path = folder / c.name;
        ByteSource probed(path);
        const std::optional<LengthReading> stated =
            probed.IsOpen() ? StatedLength(probed, path) : std::nullopt;
        const std::optional<AudioLength> tagLib = TagLibAlone(path);
        EXPECT_EQ(stated.has_value(), c.stated) << c.name << ": " << (stated ? Describe(*stated) : "");
        const LengthReading read = ReadLength(path);
        if (c.read != nullptr) {
            EXPECT_EQ(Describe(read), c.read) << c.name;
        } else {
            EXPECT_TRUE(read.Length == tagLib)
                << c.name << ": " << Describe(read) << ", TagLib " << Describe(tagLib);
        }
    }
    // The plain files are read to the sample.
    EXPECT_EQ(Describe(ReadLength(folder / "a.flac")), "44117 at 44100");
    EXPECT_EQ(Describe(ReadLength(folder / "deep.wav")), "500 at 48000");
}

// TagLib alone, as every file was read before the header probes.
class TagLibOnly final : public LengthReader {
public:
    LengthReading AudioLengthOf(const std::string& path) override {
        const std::optional<AudioLength> length = TagLibAlone(path);
        return length ? LengthReading(*length) : LengthReading();
    }
};

// One line a sheet, in the order run: the row and its reasons.
std::vector<std::string> RunBatch(const TempFolder& folder, const std::vector<std::string>& sheets,
                                  LengthReader& reader) {
    testkit::RecordingHost host;
    host.animates = false;
    host.lengths = &reader;
    std::vector<std::string> lines;
    for (const std::string& sheet : sheets) {
        RepairState state;
        state.CuePath = folder / sheet;
        traitementCUE(state, host);
        lines.push_back(sheet + ": " + (host.rows.empty() ? "no row" : host.rows.back().Caption) + "; " +
                        RowReasonsText(state.Report));
        host.rows.clear();
    }
    return lines;
}

std::string SheetOf(const std::vector<std::string>& files, const std::string& lastStart) {
    std::string sheet = "TITLE \"Batch\"\r\n";
    int track = 0;
    for (const std::string& file : files) {
        sheet += "FILE \"" + file + "\" WAVE\r\n";
        for (const char* start : {"00:00:00", lastStart.c_str()}) {
            ++track;
            sheet += "  TRACK 0" + std::to_string(track) + " AUDIO\r\n    INDEX 01 " + start + "\r\n";
        }
    }
    return sheet;
}

TEST(StatedLength, ABatchReportsTheSameRowsInTheSameOrderAsWithTagLibAlone) {
    const ScopedLanguage english(kEnglishMessages);
    const TempFolder folder;
    // Two seconds and 17 samples: a track at 00:02:00 fits, one at 00:02:01 starts past the end.
    WriteWav(folder / "song.wav", 2 * 44100 + 17);
    ASSERT_EQ(RunProgram({"flac", "--silent", "--force", "-o", folder / "song.flac", folder / "song.wav"}),
              0);
    ASSERT_EQ(RunProgram({"lame", "--quiet", folder / "song.wav", folder / "song.mp3"}), 0);
    WriteFile(folder / "noise.wav", "RIFF and nothing else");
    const std::vector<std::pair<std::string, std::string>> sheets = {
        {"wav-fits.cue", SheetOf({"song.wav"}, "00:02:00")},
        {"wav-short.cue", SheetOf({"song.wav"}, "00:02:01")},
        {"flac-fits.cue", SheetOf({"song.flac"}, "00:02:00")},
        {"flac-short.cue", SheetOf({"song.flac"}, "00:02:01")},
        // The encoder pads its last frame, so the MP3 lasts a little longer.
        {"mp3-fits.cue", SheetOf({"song.mp3"}, "00:02:00")},
        {"mp3-short.cue", SheetOf({"song.mp3"}, "00:03:00")},
        {"unreadable.cue", SheetOf({"noise.wav"}, "00:02:00")},
        {"missing.cue", SheetOf({"gone.flac"}, "00:02:00")},
        {"all.cue", SheetOf({"song.mp3", "song.flac", "noise.wav", "song.wav"}, "00:02:01")},
    };
    std::vector<std::string> names;
    for (const auto& [name, text] : sheets) {
        WriteFile(folder / name, text);
        names.push_back(name);
    }
    TagLibLengthReader otherFormats;
    ProbeLengthReader probing(&otherFormats);
    TagLibOnly tagLib;
    const std::vector<std::string> probed = RunBatch(folder, names, probing);
    EXPECT_EQ(probed, RunBatch(folder, names, tagLib));
    ASSERT_EQ(probed.size(), names.size());
    // The short sheets are told apart from those that fit, whichever reader read them.
    for (std::size_t i = 0; i < names.size(); ++i) {
        const bool short_ = names[i].find("short") != std::string::npos || names[i] == "all.cue";
        EXPECT_EQ(probed[i].find("past its end") != std::string::npos, short_) << probed[i];
    }
}

} // namespace
} // namespace velmora
