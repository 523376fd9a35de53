#include "TestSupport.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace velmora {
namespace {

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

TEST(TextBuffer, LoadTurnsEveryLineBreakIntoCrLf) {
    struct Case {
        std::string onDisk;
        std::string loaded;
        bool converted;
    };
    const Case cases[] = {
        {"a\r\nb\r\n", "a\r\nb\r\n", false},
        {"a\nb\n", "a\r\nb\r\n", true},
        {"a\rb", "a\r\nb", true},
        {"a\n\rb", "a\r\n\r\nb", true},
        {"a\r\r\n\n", "a\r\n\r\n\r\n", true},
        {"", "", false},
        {std::string("n\0ul\n", 5), std::string("n\0ul\r\n", 6), true},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        WriteFile(folder / "s.cue", c.onDisk);
        TextBuffer buffer;
        buffer.LoadFromFile(folder / "s.cue");
        EXPECT_EQ(buffer.Text(), c.loaded);
        EXPECT_EQ(buffer.LastLoadConvertedLineBreaks(), c.converted);
    }
}

TEST(TextBuffer, LinesSplitAtLineBreaksOnly) {
    struct Case {
        std::string text;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"", {}},
        {"one", {"one"}},
        {"one\r\n", {"one"}},
        {"one\r\n\r\n", {"one", ""}},
        {"one\r\ntwo", {"one", "two"}},
        {"\r\n x\r\n", {"", " x"}},
        {"a\nb\rc", {"a", "b", "c"}},
    };
    for (const Case& c : cases) {
        TextBuffer buffer;
        buffer.SetText(c.text);
        ASSERT_EQ(buffer.LineCount(), c.lines.size()) << c.text;
        for (std::size_t i = 0; i < c.lines.size(); ++i)
            EXPECT_EQ(buffer.Line(i), c.lines[i]) << c.text << " line " << i;
        EXPECT_EQ(buffer.Line(c.lines.size()), "");
    }
}

TEST(TextBuffer, LongLinesReadAsTheirFirst4096Characters) {
    TextBuffer buffer;
    buffer.SetText(std::string(5000, 'x') + "\r\nshort");
    EXPECT_EQ(buffer.Line(0), std::string(4096, 'x'));
    EXPECT_EQ(buffer.Line(1), "short");
    EXPECT_EQ(buffer.Text().size(), 5007u);
}

TEST(TextBuffer, SetTextReplacesTheLinesToo) {
    TextBuffer buffer;
    buffer.SetText("a\r\nb");
    ASSERT_EQ(buffer.LineCount(), 2u);
    buffer.SetText("c");
    EXPECT_EQ(buffer.LineCount(), 1u);
    EXPECT_EQ(buffer.Line(0), "c");
}

TEST(TextBuffer, SaveWritesTheTextByteForByte) {
    TempFolder folder;
    TextBuffer buffer;
    const std::string text = "\xef\xbb\xbfREM x\r\nno final break";
    buffer.SetText(text);
    buffer.SaveToFile(folder / "out.cue");
    EXPECT_EQ(ReadFile(folder / "out.cue"), text);
}

TEST(TextBuffer, LoadFailuresCarryTheSystemMessage) {
    TempFolder folder;
    ::mkdir((folder / "dir.cue").c_str(), 0755);
    ::mkfifo((folder / "pipe.cue").c_str(), 0644);
    const std::pair<std::string, std::string> cases[] = {
        {folder / "missing.cue", "No such file or directory"},
        {folder / "dir.cue", "Is a directory"},
        {folder / "pipe.cue", "Invalid argument"},
    };
    for (const auto& [path, systemText] : cases) {
        TextBuffer buffer;
        buffer.SetText("kept");
        try {
            buffer.LoadFromFile(path);
            ADD_FAILURE() << path << " loaded";
        } catch (const Error& error) {
            EXPECT_EQ(std::string(error.what()),
                      "Impossible d'ouvrir le fichier \"" + path + "\". " + systemText);
        }
        EXPECT_EQ(buffer.Text(), "kept");
    }
}

} // namespace
} // namespace velmora
