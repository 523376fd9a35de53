#include "files/testing/ScratchFiles.h"
#include "tools/layers/IncludeCheck.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>
#include <vector>

namespace velmora::layers {
namespace {

constexpr const char* kMap = R"(# lowest first
text:
graphics: text
graphics/qt: graphics   # a subfolder with its own entry
markup: graphics
cue: text
tests/markup: markup
)";

TEST(LayerMap, JudgesIncludesByWhoUsesWhom) {
    const LayerMap map = LayerMap::Parse(kMap);
    struct Case {
        std::string from, to;
        LayerMap::Verdict expected;
    };
    using V = LayerMap::Verdict;
    const Case cases[] = {
        {"markup", "markup", V::Allowed},        {"markup", "graphics", V::Allowed},
        {"markup", "text", V::Allowed},          {"tests/markup", "text", V::Allowed},
        {"graphics/qt", "graphics", V::Allowed}, {"graphics", "graphics/qt", V::Upward},
        {"graphics", "markup", V::Upward},       {"text", "tests/markup", V::Upward},
        {"cue", "graphics", V::Sideways},        {"graphics", "cue", V::Sideways},
        {"markup", "graphics/qt", V::Sideways},  {"cue", "tests/markup", V::Sideways},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(map.Judge(c.from, c.to), c.expected) << c.from << " -> " << c.to;
    }
}

TEST(LayerMap, AFileBelongsToTheDeepestFolderOnTheMap) {
    const LayerMap map = LayerMap::Parse(kMap);
    const std::pair<std::string, std::string> cases[] = {
        {"graphics/qt/QtCanvas.h", "graphics/qt"},
        {"graphics/qt/more/Deep.h", "graphics/qt"},
        {"graphics/Canvas.h", "graphics"},
        {"tests/markup/RenderTest.cpp", "tests/markup"},
        {"tests/Other.cpp", ""},
        {"graphicsx/Canvas.h", ""},
        {"Top.h", ""},
    };
    for (const auto& [path, expected] : cases) {
        EXPECT_EQ(map.FolderOf(path), expected) << path;
    }
}

TEST(LayerMap, RefusesAMapItCannotTrust) {
    const std::pair<std::string, std::string> cases[] = {
        {"text:\ngraphics text\n", "layer map line 2: no \":\" after the folder"},
        {"text:\ntext:\n", "layer map line 2: folder \"text\" is empty or listed twice"},
        {": text\ntext:\n", "layer map line 1: folder \"\" is empty or listed twice"},
        {"text:\n\n# comment\nmarkup: graphics\n", "layer map line 4: \"graphics\" has no entry of its own"},
    };
    for (const auto& [text, expected] : cases) {
        try {
            LayerMap::Parse(text);
            ADD_FAILURE() << "accepted: " << text;
        } catch (const std::runtime_error& error) {
            EXPECT_EQ(std::string(error.what()), expected);
        }
    }
}

TEST(LayerMap, FindsACircle) {
    EXPECT_EQ(LayerMap::Parse(kMap).FindCycle(), std::vector<std::string>{});
    EXPECT_EQ(LayerMap::Parse("a: b\nb: c\nc: b\n").FindCycle(), (std::vector<std::string>{"b", "c", "b"}));
    EXPECT_EQ(LayerMap::Parse("a: a\n").FindCycle(), (std::vector<std::string>{"a", "a"}));
}

// A small source tree on disk, checked as the layer_map test checks the real one.
TEST(IncludeCheck, ReportsEveryUpwardSidewaysOrUnknownInclude) {
    const testkit::TempFolder root;
    const auto write = [&root](const std::string& path, const std::string& content) {
        std::filesystem::create_directories(std::filesystem::path(root / path).parent_path());
        testkit::WriteFile(root / path, content);
    };
    write("text/Text.h", "#pragma once\n");
    write("graphics/Canvas.h", "#include \"text/Text.h\"\n// #include \"markup/Markup.h\"\n"
                               "  #  include \"markup/Markup.h\"\n#include <markup/Markup.h>\n");
    write("graphics/qt/QtCanvas.h", "#include \"graphics/Canvas.h\"\n");
    write("graphics/qt/QtCanvas.cpp", "#include \"QtCanvas.h\"\n#include \"QtCanvas.moc\"\n");
    write("markup/Markup.h",
          "#include \"Local.h\"\n#include \"graphics/Canvas.h\"\n#include \"graphics/qt/QtCanvas.h\"\n");
    write("markup/Local.h", "");
    write("markup/README.md", "#include \"cue/Cue.h\"\n");
    write("cue/Cue.cpp",
          "#include \"text/Text.h\"\n#include \"graphics/Canvas.h\"\n#include \"Missing.h\"\n");
    write("tests/markup/RenderTest.cpp",
          "#include \"../../markup/Markup.h\"\n#include \"../../../outside.h\"\n");
    write("stray/Stray.cpp", "#include \"text/Text.h\"\n");
    write("build/dev/Generated.cpp", "#include \"markup/Markup.h\"\n");
    write(".git/Hidden.h", "#include \"markup/Markup.h\"\n");
    write("cmake-build-debug/CMakeCache.txt", "");
    write("cmake-build-debug/gen/Generated.cpp", "#include \"markup/Markup.h\"\n");

    const std::vector<std::string> expected = {
        "cue/Cue.cpp:2: sideways include of graphics/Canvas.h: cue uses text",
        "cue/Cue.cpp:3: includes \"Missing.h\", which is no file of the source tree",
        "graphics/Canvas.h:3: upward include of markup/Markup.h: markup uses graphics",
        "markup/Markup.h:3: sideways include of graphics/qt/QtCanvas.h: markup uses graphics",
        "stray/Stray.cpp: its folder is not on the layer map",
        "tests/markup/RenderTest.cpp:2: includes \"../../../outside.h\", which is no file of the source tree",
    };
    EXPECT_EQ(CheckIncludes(root.Path(), LayerMap::Parse(kMap)), expected);
}

TEST(IncludeCheck, ReportsACircleInTheMap) {
    const testkit::TempFolder root;
    const std::vector<std::string> expected = {"the layer map goes in a circle: a -> b -> a"};
    EXPECT_EQ(CheckIncludes(root.Path(), LayerMap::Parse("a: b\nb: a\n")), expected);
}

} // namespace
} // namespace velmora::layers
