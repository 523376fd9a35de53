#include "PictureFixture.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace velmora {
namespace {

// Picture addresses as people write them on a system whose file names keep their case: a path with
// small letters must reach the file, whichever control shows the text and however the prefix is written.
class PictureAddress : public PictureFixture {
protected:
    PictureAddress() {
        folder =
            std::filesystem::path(::testing::TempDir()) / ("velmora-Pictures-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        std::ofstream(folder / "logo.gif", std::ios::binary) << "bytes";
        decoder.PictureWidth = 16;
        decoder.PictureHeight = 8;
    }
    ~PictureAddress() override { std::filesystem::remove_all(folder); }

    std::string Path() const { return (folder / "logo.gif").string(); }

    std::filesystem::path folder;
};

#ifdef _WIN32
constexpr bool kFileNamesKeepCase = false;
#else
constexpr bool kFileNamesKeepCase = true;
#endif

constexpr MarkupFlavor kFlavors[] = {MarkupFlavor::Label, MarkupFlavor::StaticText};

TEST_F(PictureAddress, InlinePicturesKeepTheAddressAsWritten) {
    resources.Entries.push_back({"Logo", {1, 2, 3}});
    struct Case {
        std::string source;
        int textWidth; // 16 for the picture and 8 for "x"
    };
    const Case cases[] = {
        {"FILE://" + Path(), 24},
        {"file://" + Path(), 24},
        {"File://" + Path(), 24},
        {"RES://Logo", 24},
        {"res://logo", 24}, // resources are found without regard to case
        {"RES://LOGO", 24},
        {"FILE://" + folder.string() + "/LOGO.GIF",
         kFileNamesKeepCase ? 8 : 24}, // files are not, where names keep their case
        {"IDX:0", 8},
    };
    for (const MarkupFlavor flavor : kFlavors) {
        for (const Case& c : cases) {
            cache.Clear();
            const MarkupCall params = Render("<IMG src=\"" + c.source + "\">x", {0, 0, 200, 100}, flavor);
            EXPECT_EQ(params.Result.TextWidth, c.textWidth) << c.source;
            EXPECT_LE(cache.Count(), 1) << c.source;
            if (cache.Count() == 1) {
                EXPECT_EQ(cache.Items(0).SourceAddress(), c.source) << "kept as written";
            }
        }
    }
}

TEST_F(PictureAddress, AltPictureKeepsItsAddressAsWritten) {
    AddPicture("plain", 4, 4);
    decoder.PictureWidth = 16;
    decoder.PictureHeight = 8;
    for (const MarkupFlavor flavor : kFlavors) {
        cache.Clear();
        canvas.ClearRecords();
        MarkupCall params = Params("<A href=\"u\"><IMG src=\"plain\" alt=\"file://" + Path() + "\"></A>");
        params.Sources.PictureContainer = &container;
        params.Sources.PictureCache = &cache;
        params.Request.Flavor = flavor;
        params.Request.HitX = 2;
        params.Request.HitY = 2;
        EXPECT_TRUE(params.Run());
        EXPECT_EQ(Pictures(), "B1,0,17,8") << "the picture under the pointer is the ALT file";
    }
}

TEST_F(PictureAddress, BodyBackgroundKeepsItsAddressAsWritten) {
    resources.Entries.push_back({"Tile", {1, 2, 3}});
    const std::string sources[] = {"FILE://" + Path(), "file://" + Path(), "res://tile"};
    for (const MarkupFlavor flavor : kFlavors) {
        for (const std::string& source : sources) {
            cache.Clear();
            Render("<BODY background=\"" + source + "\">x", {0, 0, 32, 8}, flavor);
            EXPECT_EQ(Pictures(), "B0,0,16,8 B16,0,32,8") << source;
        }
    }
}

TEST_F(PictureAddress, ContainerNamesStillIgnoreCase) {
    AddPicture("Logo", 16, 8);
    for (const MarkupFlavor flavor : kFlavors) {
        for (const char* name : {"logo", "LOGO", "Logo"}) {
            const MarkupCall params =
                Render(std::string("<IMG src=\"") + name + "\">x", {0, 0, 200, 100}, flavor);
            EXPECT_EQ(params.Result.TextWidth, 24) << name;
        }
    }
}

} // namespace
} // namespace velmora
