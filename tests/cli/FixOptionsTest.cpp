#include "cli/FixOptions.h"

#include "../messages/ScopedLanguage.h"
#include "cli/JsonLine.h"

#include <gtest/gtest.h>

namespace velmora::fix {
namespace {

TEST(FixOptions, ReadsOptionsAndPathsInOrder) {
    const FixOptions options =
        ParseArguments({"--bin", "disc.bin", "a.cue", "--audio=song.mp3", "--auto", "--dry-run", "--audio",
                        "two.flac", "--recursive", "b", "--json", "--quiet", "--", "--not-an-option", "-"});
    EXPECT_EQ(options.BinAnswers, std::vector<std::string>{"disc.bin"});
    EXPECT_EQ(options.AudioAnswers, (std::vector<std::string>{"song.mp3", "two.flac"}));
    EXPECT_TRUE(options.Recursive && options.Json && options.Quiet && options.Auto && options.DryRun);
    EXPECT_FALSE(options.Help || options.Version);
    EXPECT_EQ(options.Paths, (std::vector<std::string>{"a.cue", "b", "--not-an-option", "-"}));
    const FixOptions plain = ParseArguments({"x.cue"});
    EXPECT_FALSE(!plain.BinAnswers.empty() || !plain.AudioAnswers.empty() || plain.Recursive || plain.Json ||
                 plain.Quiet || plain.Auto || plain.DryRun);
    EXPECT_TRUE(ParseArguments({"--help"}).Help);
    EXPECT_TRUE(ParseArguments({"--version"}).Version);
}

TEST(FixOptions, RefusesWhatItDoesNotKnow) {
    const ScopedLanguage english(kEnglishMessages);
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{}, "no PATH given"},
        {{"--json"}, "no PATH given"},
        {{"a.cue", "--bin"}, "--bin needs a FILE"},
        {{"a.cue", "--audio"}, "--audio needs a FILE"},
        {{"--loud", "a.cue"}, "unknown option --loud"},
        {{"-r", "a.cue"}, "unknown option -r"},
        {{"--binary=x", "a.cue"}, "unknown option --binary=x"},
        {{"a.cue", "--encoding"}, "--encoding needs a NAME"},
        {{"--encoding=latin9", "a.cue"},
         "unknown encoding latin9 (UTF-8, Windows-1252, Windows-1251, Shift-JIS, GB18030, Big5, EUC-KR)"},
        {{"--restore", "--encoding", "sjis", "a.cue"},
         "--restore reads no sheet: --encoding does not go with it"},
        {{"--force", "a.cue"}, "--force goes with --restore only"},
        {{"--auto", "--force", "a.cue"}, "--force goes with --restore only"},
    };
    for (const auto& [arguments, message] : cases) {
        SCOPED_TRACE(message);
        try {
            ParseArguments(arguments);
            ADD_FAILURE() << message << " was accepted";
        } catch (const UsageError& error) {
            EXPECT_EQ(std::string(error.what()), message);
        }
    }
}

TEST(FixOptions, NamesEncodingsAsPeopleWriteThem) {
    const std::pair<std::string, SheetEncoding> cases[] = {
        {"Shift-JIS", SheetEncoding::ShiftJis}, {"sjis", SheetEncoding::ShiftJis},
        {"CP932", SheetEncoding::ShiftJis},     {"euc-kr", SheetEncoding::Korean},
        {"GBK", SheetEncoding::Gb18030},        {"windows-1251", SheetEncoding::Windows1251},
        {"latin1", SheetEncoding::Windows1252}, {"utf_8", SheetEncoding::Utf8},
    };
    for (const auto& [name, encoding] : cases) {
        EXPECT_EQ(ParseArguments({"--encoding", name, "a.cue"}).Encoding, encoding) << name;
    }
    EXPECT_EQ(ParseArguments({"a.cue"}).Encoding, std::nullopt);
}

TEST(JsonString, EscapesAndReadsBytesThatAreNoUtf8AsWindows1252) {
    const std::pair<std::string, std::string> cases[] = {
        {"plain", "\"plain\""},
        {"a\"b\\c", "\"a\\\"b\\\\c\""},
        {"\x1f", "\"\\u001f\""},
        {std::string("\r\n\t\x01\x7f\0", 6), "\"\\r\\n\\t\\u0001\\u007f\\u0000\""},
        {"entière \xf0\x9f\x8e\xb5", "\"entière \xf0\x9f\x8e\xb5\""},
        {"enti\xe8re", "\"enti\\u00e8re\""},
        {"\x80\x9f\x81", "\"\\u20ac\\u0178\\u0081\""},
        // Overlong forms, surrogates and cut sequences are no UTF-8 either.
        {"\xc0\xaf", "\"\\u00c0\\u00af\""},
        {"\xed\xa0\x80", "\"\\u00ed\\u00a0\\u20ac\""},
        {"\xe2\x82", "\"\\u00e2\\u201a\""},
    };
    for (const auto& [text, json] : cases) {
        EXPECT_EQ(JsonString(text), json) << text;
    }
}

} // namespace
} // namespace velmora::fix

namespace velmora::fix {
namespace {

TEST(JsonPath, GivesEveryByteBackThroughSurrogateEscapes) {
    const std::pair<std::string, std::string> cases[] = {
        {"/music/album.cue", "\"/music/album.cue\""},
        {"/music/björk.cue", "\"/music/björk.cue\""},
        // Windows-1252 and Windows-1251 names that are no UTF-8: each byte stands for itself.
        {"/music/It\x92s.cue", "\"/music/It\\udc92s.cue\""},
        {"/\xCA\xE8\xED\xEE.cue", "\"/\\udcca\\udce8\\udced\\udcee.cue\""},
        {"/a\"b\\c\n.cue", "\"/a\\\"b\\\\c\\n.cue\""},
    };
    for (const auto& [path, json] : cases) {
        EXPECT_EQ(JsonPath(path), json) << path;
    }
}

} // namespace
} // namespace velmora::fix
