#include "messages/Messages.h"
#include "tests/cue/TestSupport.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace velmora {
namespace {

// The disk, unconfined: these cases read and write files directly.
FolderStorage disk;

using testkit::TempFolder;
using testkit::WriteFile;

TEST(TextBuffer, LoadTurnsEveryLineBreakIntoCrLfAndSplitsLines) {
    struct Case {
        std::string onDisk, loaded;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"a\r\nb\r\n", "a\r\nb\r\n", {"a", "b"}},
        {"a\nb", "a\r\nb", {"a", "b"}},
        {"a\nb\n", "a\r\nb\r\n", {"a", "b"}},
        {"a\rb", "a\r\nb", {"a", "b"}},
        {"a\r\r\n\n", "a\r\n\r\n\r\n", {"a", "", ""}},
        {"a\r\n\r\n", "a\r\n\r\n", {"a", ""}},
        {"a\n\rb\r\r\n", "a\r\n\r\nb\r\n\r\n", {"a", "", "b", ""}},
        {"", "", {}},
        {std::string("n\0l\n", 4), std::string("n\0l\r\n", 5), {std::string("n\0l", 3)}},
        {std::string(5000, 'x') + "\ny", std::string(5000, 'x') + "\r\ny", {std::string(4096, 'x'), "y"}},
        // The file is read in pieces of 65536 bytes: a CR LF pair or a lone CR across the seam.
        {std::string(65535, 'x') + "\r\ny", std::string(65535, 'x') + "\r\ny", {std::string(4096, 'x'), "y"}},
        {std::string(65535, 'x') + "\ry", std::string(65535, 'x') + "\r\ny", {std::string(4096, 'x'), "y"}},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.onDisk);
        WriteFile(folder / "s.cue", c.onDisk);
        TextBuffer buffer;
        buffer.LoadFromFile(folder / "s.cue", disk);
        EXPECT_EQ(buffer.Text(), c.loaded);
        EXPECT_EQ(buffer.LastLoadConvertedLineBreaks(), c.loaded != c.onDisk);
        EXPECT_EQ(buffer.LineCount(), c.lines.size());
        for (std::size_t i = 0; i < c.lines.size(); ++i) {
            EXPECT_EQ(buffer.Line(i), c.lines[i]) << c.onDisk << " line " << i;
        }
        EXPECT_EQ(buffer.Line(c.lines.size()), "");
    }
}

TEST(TextBuffer, LinesOfASetTextSplitAtLineBreaksOnly) {
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
        EXPECT_EQ(buffer.LineCount(), c.lines.size()) << c.text;
        for (std::size_t i = 0; i < c.lines.size(); ++i) {
            EXPECT_EQ(buffer.Line(i), c.lines[i]) << c.text << " line " << i;
        }
        EXPECT_EQ(buffer.Text(), c.text) << c.text;
    }
}

TEST(TextBuffer, LongLinesAreCutOnlyWhenRead) {
    TextBuffer buffer;
    buffer.SetText(std::string(5000, 'x') + "\r\nshort");
    EXPECT_EQ(buffer.Line(0), std::string(4096, 'x'));
    EXPECT_EQ(buffer.Line(1), "short");
    EXPECT_EQ(buffer.Text().size(), 5007u);
    buffer.SetText("c");
    EXPECT_EQ(buffer.LineCount(), 1u);
    EXPECT_EQ(buffer.Line(0), "c");
}

TEST(TextBuffer, SetTextAndSaveKeepTheBytes) {
    TempFolder folder;
    TextBuffer buffer;
    buffer.SetText("a\r\nb");
    ASSERT_EQ(buffer.LineCount(), 2u);
    buffer.SetText("\xef\xbb\xbf\nno final break");
    EXPECT_EQ(buffer.Line(1), "no final break");
    buffer.SaveToFile(folder / "out.cue", disk);
    EXPECT_EQ(testkit::ReadFile(folder / "out.cue"), "\xef\xbb\xbf\nno final break");
}

TEST(TextBuffer, LoadFailuresCarryTheSystemMessageAndKeepTheText) {
    TempFolder folder;
    ::mkdir((folder / "dir.cue").c_str(), 0755);
    ::mkfifo((folder / "pipe.cue").c_str(), 0644);
    const std::pair<std::string, std::string> cases[] = {
        {folder / "missing.cue", SystemErrorText(ENOENT)},
        {folder / "dir.cue", SystemErrorText(EISDIR)},
        {folder / "pipe.cue", SystemErrorText(EINVAL)},
    };
    for (const auto& [path, systemText] : cases) {
        SCOPED_TRACE(path);
        TextBuffer buffer;
        buffer.SetText("kept");
        try {
            buffer.LoadFromFile(path, disk);
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
