#include "cue/references/FileReferences.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(FileReferences, FindsEveryFileLineWithItsNameAndType) {
    struct Case {
        std::string text;
        std::vector<std::tuple<std::size_t, std::string, std::string>> found; // line, name, type
    };
    const Case cases[] = {
        {"REM \"x.wav\"\r\nFILE \"a.wav\" WAVE\r\n  TRACK 01 AUDIO\r\nFILE \"b.wav\" WAVE\r\n",
         {{2, "a.wav", "WAVE"}, {4, "b.wav", "WAVE"}}},
        {"\tFILE  \" spaced.bin \"   BINARY  ", {{1, "spaced.bin", "BINARY"}}},
        {"FILE \"typeless.wav\"\nTRACK 01 AUDIO", {{1, "typeless.wav", ""}}},
        {"\xEF\xBB\xBF"
         "FILE \"bom.wav\" WAVE",
         {{1, "bom.wav", "WAVE"}}},
        {"FILES \"a\"\rPROFILE \"b\"\rREM FILE \"d\"", {}},
        // The keyword in any case, the name bare or quoted, the type the last word; blanks are tabs too.
        {"file \"c\" wave\rFile \"a.wav\" Wave", {{1, "c", "wave"}, {2, "a.wav", "Wave"}}},
        {"FILE disc.bin BINARY", {{1, "disc.bin", "BINARY"}}},
        {"FILE\ttrack01.wav\tWAVE\t", {{1, "track01.wav", "WAVE"}}},
        {"FILE \"CD1\\01.flac\" WAVE", {{1, "CD1\\01.flac", "WAVE"}}},
        {"FILE \"open", {{1, "open", ""}}},
        {"FILE", {{1, "", ""}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::vector<FileReference> references = FindFileReferences(c.text);
        EXPECT_EQ(references.size(), c.found.size());
        if (references.size() != c.found.size()) {
            continue;
        }
        for (std::size_t i = 0; i < references.size(); ++i) {
            const auto& [line, name, type] = c.found[i];
            EXPECT_EQ(references[i].LineNumber, line) << c.text;
            EXPECT_EQ(references[i].Name, name) << c.text;
            EXPECT_EQ(c.text.substr(references[i].TypeStart, references[i].TypeLength), type) << c.text;
        }
    }
}

TEST(FileReferences, RenamingKeepsEveryOtherByte) {
    const std::tuple<std::string, std::string, std::string, std::string> cases[] = {
        // text, new name, new type, expected
        {"  FILE \"track.WAV\"   WAVE  \r\nTITLE \"track.WAV\"", "Track.flac", "WAVE",
         "  FILE \"Track.flac\"   WAVE  \r\nTITLE \"track.WAV\""},
        {"FILE \" a.wav \" WAVE", "b.mp3", "MP3", "FILE \"b.mp3\" MP3"},
        {"FILE \"typeless.wav\"\r\n", "x.flac", "WAVE", "FILE \"x.flac\" WAVE\r\n"},
        {"FILE \"typeless.wav\"  \r\n", "x.aiff", "AIFF", "FILE \"x.aiff\" AIFF  \r\n"},
        {"\xEF\xBB\xBF"
         "FILE \"a.wav\" WAVE",
         "b.wav", "WAVE",
         "\xEF\xBB\xBF"
         "FILE \"b.wav\" WAVE"},
        // A bare name stays bare unless the new one has a blank.
        {"  FILE disc.wav WAVE\r\nX", "d.flac", "WAVE", "  FILE d.flac WAVE\r\nX"},
        {"FILE\tdisc.wav\tWAVE", "a b.flac", "WAVE", "FILE\t\"a b.flac\"\tWAVE"},
        {"FILE \"open", "x.wav", "WAVE", "FILE \"x.wav\" WAVE"},
        {"FILE", "x.wav", "WAVE", "FILE \"x.wav\" WAVE"},
    };
    for (const auto& [text, name, type, expected] : cases) {
        SCOPED_TRACE(text);
        const std::vector<FileReference> references = FindFileReferences(text);
        EXPECT_EQ(references.size(), 1u);
        if (references.size() != 1u) {
            continue;
        }
        EXPECT_EQ(RenameFileReference(text, references[0], name, type), expected) << text;
    }
}

TEST(FileReferences, TypeKeywordsAreOnesTheCueFormatHas) {
    const std::pair<std::string, std::string> cases[] = {
        {"a.mp3", "MP3"},       {"a.MP3", "MP3"},   {"a.aif", "AIFF"}, {"a.AIFF", "AIFF"},
        {"a.wav", "WAVE"},      {"a.flac", "WAVE"}, {"a.ogg", "WAVE"}, {"a.mp4", "WAVE"},
        {"a.wma", "WAVE"},      {"a.mpc", "WAVE"},  {"a.ape", "WAVE"}, {"noextension", "WAVE"},
        {"a.mp3.flac", "WAVE"},
    };
    for (const auto& [name, type] : cases) {
        EXPECT_EQ(AudioTypeKeyword(name), type) << name;
    }
}

} // namespace
} // namespace velmora
