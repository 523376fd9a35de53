#include "FixOptions.h"

#include "JsonLine.h"

#include <gtest/gtest.h>

namespace velmora::fix {
namespace {

TEST(FixOptions, ReadsOptionsAndPathsInOrder) {
    const FixOptions options =
        ParseArguments({"--bin", "disc.bin", "a.cue", "--audio=song.mp3", "--recursive", "b", "--json",
                        "--quiet", "--", "--not-an-option", "-"});
    EXPECT_EQ(options.BinAnswer, "disc.bin");
    EXPECT_EQ(options.AudioAnswer, "song.mp3");
    EXPECT_TRUE(options.Recursive);
    EXPECT_TRUE(options.Json);
    EXPECT_TRUE(options.Quiet);
    EXPECT_FALSE(options.Help);
    EXPECT_EQ(options.Paths, (std::vector<std::string>{"a.cue", "b", "--not-an-option", "-"}));
}

TEST(FixOptions, DefaultsLeaveTheChooserCancelled) {
    const FixOptions options = ParseArguments({"x.cue"});
    EXPECT_FALSE(options.BinAnswer);
    EXPECT_FALSE(options.AudioAnswer);
    EXPECT_FALSE(options.Recursive || options.Json || options.Quiet || options.Help || options.Version);
}

TEST(FixOptions, RefusesWhatItDoesNotKnow) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{}, "no PATH given"},
        {{"--json"}, "no PATH given"},
        {{"a.cue", "--bin"}, "--bin needs a FILE"},
        {{"a.cue", "--audio"}, "--audio needs a FILE"},
        {{"--verbose", "a.cue"}, "unknown option --verbose"},
        {{"-r", "a.cue"}, "unknown option -r"},
        {{"--binary=x", "a.cue"}, "unknown option --binary=x"},
    };
    for (const auto& [arguments, message] : cases) {
        try {
            ParseArguments(arguments);
            ADD_FAILURE() << message << " was accepted";
        } catch (const UsageError& error) {
            EXPECT_EQ(std::string(error.what()), message);
        }
    }
}

TEST(FixOptions, HelpAndVersionNeedNoPath) {
    EXPECT_TRUE(ParseArguments({"--help"}).Help);
    EXPECT_TRUE(ParseArguments({"--version"}).Version);
}

TEST(JsonString, EscapesAndKeepsValidUtf8) {
    const std::pair<std::string, std::string> cases[] = {
        {"plain", "\"plain\""},
        {"a\"b\\c", "\"a\\\"b\\\\c\""},
        {"\r\n\t", "\"\\r\\n\\t\""},
        {std::string("\x01\x1f\x7f\0", 4), "\"\\u0001\\u001f\\u007f\\u0000\""},
        {"entière", "\"entière\""},
        {"\xf0\x9f\x8e\xb5", "\"\xf0\x9f\x8e\xb5\""},
        // Bytes that are no UTF-8 are read as Windows-1252.
        {"enti\xe8re", "\"enti\\u00e8re\""},
        {"\x80\x9f", "\"\\u20ac\\u0178\""},
        {"\x81", "\"\\u0081\""},
        // Overlong forms and surrogates are no UTF-8 either.
        {"\xc0\xaf", "\"\\u00c0\\u00af\""},
        {"\xed\xa0\x80", "\"\\u00ed\\u00a0\\u20ac\""},
        {"\xe2\x82", "\"\\u00e2\\u201a\""},
    };
    for (const auto& [text, json] : cases)
        EXPECT_EQ(JsonString(text), json) << text;
}

TEST(JsonLine, AbsentValuesAreNull) {
    EXPECT_EQ(
        JsonLine("/m/a.cue", std::string("a.cue => GOOD"), "GOOD", std::nullopt),
        "{\"sheet\": \"/m/a.cue\", \"row\": \"a.cue => GOOD\", \"outcome\": \"GOOD\", \"message\": null}");
    EXPECT_EQ(
        JsonLine("/m/a.CUE", std::nullopt, "WARNING", std::string("a.CUE is not a valid CUE")),
        "{\"sheet\": \"/m/a.CUE\", \"row\": null, \"outcome\": \"WARNING\", \"message\": \"a.CUE is not a "
        "valid CUE\"}");
}

} // namespace
} // namespace velmora::fix
