#include "files/PathNames.h"

#include <gtest/gtest.h>
#include <string>

namespace velmora {
namespace {

struct PathCase {
    std::string path;
    std::string containingFolder;
    std::string folderPart;
    std::string fileNamePart;
};

TEST(PathNames, EachHelperSplitsAtTheLastSlash) {
    const PathCase cases[] = {
        {"/music/album/album.cue", "/music/album", "/music/album/", "album.cue"},
        {"album/album.cue", "album", "album/", "album.cue"},
        {"album.cue", ".", "", "album.cue"},
        {"/album.cue", "/", "/", "album.cue"},
        {"album/", "album", "album/", ""},
        {"a b/c\\d.cue", "a b", "a b/", "c\\d.cue"}, // a backslash is part of a Linux name
        {"", ".", "", ""},
    };
    for (const PathCase& c : cases) {
        EXPECT_EQ(ContainingFolder(c.path), c.containingFolder) << c.path;
        EXPECT_EQ(FolderPart(c.path), c.folderPart) << c.path;
        EXPECT_EQ(FileNamePart(c.path), c.fileNamePart) << c.path;
    }
}

} // namespace
} // namespace velmora
