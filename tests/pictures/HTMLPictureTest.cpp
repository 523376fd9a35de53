#include "pictures/HTMLPicture.h"

#include "errors/Error.h"
#include "graphics/testing/FakeCanvas.h"
#include "pictures/testing/FakePictureDecoder.h"
#include "pictures/testing/GifWriter.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace velmora {
namespace {

using testkit::FakeCanvas;
using testkit::FakePictureDecoder;
using testkit::FakeResourceLibrary;
using testkit::GifImage;
using testkit::MakeGif;
using Answer = FakePictureDecoder::Answer;
using ByteVector = std::vector<std::uint8_t>;

ByteVector TwoFrameGif() {
    return MakeGif(20, 10,
                   {{.Left = 0, .Top = 0, .Width = 4, .Height = 4, .ColorIndex = 0, .Delay = 50},
                    {.Left = 6, .Top = 2, .Width = 3, .Height = 2, .ColorIndex = 2, .Delay = 20}});
}

ByteVector PlainBytes() {
    return {'B', 'M', 1, 2, 3, 4, 5, 6};
}

std::string AsString(const ByteVector& bytes) {
    return {bytes.begin(), bytes.end()};
}

class PictureTest : public ::testing::Test {
protected:
    void Load(THTMLPicture& picture, const ByteVector& bytes) {
        std::istringstream stream(AsString(bytes));
        picture.LoadStream(&stream);
    }

    FakePictureDecoder decoder;
    FakeResourceLibrary resources;
    PictureBackend backend{&decoder, &resources};
};

TEST_F(PictureTest, DecodingFailuresRaiseTheirMessages) {
    const struct {
        Answer answer;
        const char* message;
        bool keepsEarlierPicture;
    } cases[] = {
        {Answer::FailStream, "Could not create image stream", true},
        {Answer::NoStream, "Empty image stream created", true},
        {Answer::Reject, "Could not load image. Invalid format", false},
        {Answer::NoPicture, "Could not load image", false},
    };
    for (const auto& c : cases) {
        THTMLPicture picture(backend);
        Load(picture, PlainBytes());
        EXPECT_NE(picture.Decoded(), nullptr) << c.message;
        decoder.NextAnswer = c.answer;
        try {
            Load(picture, TwoFrameGif());
            ADD_FAILURE() << "no error for " << c.message;
        } catch (const Error& error) {
            EXPECT_STREQ(error.what(), c.message);
        }
        decoder.NextAnswer = Answer::Accept;
        EXPECT_FALSE(picture.QueryEmpty()) << c.message;
        EXPECT_EQ(picture.Decoded() != nullptr, c.keepsEarlierPicture) << c.message;
        EXPECT_EQ(picture.ImageData(), TwoFrameGif()) << c.message;
    }
}

TEST_F(PictureTest, LoadFileSwallowsEveryFailure) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "velmora-pictures-load";
    std::filesystem::create_directories(folder);
    const std::filesystem::path good = folder / "good.gif";
    std::ofstream(good, std::ios::binary) << AsString(TwoFrameGif());
    const struct {
        std::string path;
        Answer answer;
        bool empty;
        int changes;
    } cases[] = {
        {good.string(), Answer::Accept, false, 1},
        {(folder / "missing.gif").string(), Answer::Accept, true, 0},
        {good.string(), Answer::Reject, true, 0},
        {good.string(), Answer::FailStream, true, 0},
        {folder.string(), Answer::Accept, true, 0},
    };
    for (const auto& c : cases) {
        THTMLPicture picture(backend);
        int changes = 0;
        picture.OnChange = [&changes](THTMLPicture&) {
            ++changes;
        };
        decoder.NextAnswer = c.answer;
        EXPECT_NO_THROW(picture.LoadFile(c.path));
        EXPECT_EQ(picture.QueryEmpty(), c.empty) << c.path;
        EXPECT_EQ(changes, c.changes) << c.path;
    }
    std::filesystem::remove_all(folder);
}

TEST_F(PictureTest, LoadStreamRewindsAndLayoutDataRoundTrips) {
    THTMLPicture picture(backend);
    int changes = 0;
    picture.OnChange = [&changes](THTMLPicture& sender) {
        EXPECT_FALSE(sender.QueryEmpty());
        ++changes;
    };
    std::istringstream stream(AsString(TwoFrameGif()));
    stream.seekg(0, std::ios::end);
    picture.LoadStream(&stream);
    EXPECT_EQ(picture.ImageData(), TwoFrameGif());
    EXPECT_EQ(changes, 1);

    picture.LoadStream(nullptr);
    EXPECT_EQ(changes, 1);

    std::ostringstream saved;
    picture.WriteLayoutData(&saved);
    THTMLPicture copy(backend);
    copy.OnChange = [&changes](THTMLPicture&) {
        ++changes;
    };
    std::istringstream reread(saved.str());
    copy.ReadLayoutData(&reread);
    EXPECT_EQ(copy.ImageData(), TwoFrameGif());
    EXPECT_FALSE(copy.QueryEmpty());
    EXPECT_EQ(changes, 1) << "layout loading raises no OnChange";
}

TEST_F(PictureTest, AddressesLoadRecordOrWaitAsTheirKindSays) {
    resources.Entries = {{"Logo", PlainBytes()}, {"Broken", {}}};
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / "velmora-pictures-address.bmp";
    std::ofstream(file, std::ios::binary) << AsString(PlainBytes());
    const std::string fileAddress = "file://" + file.string();
    const struct {
        std::string address;
        bool asynchronous;
        std::string source;
        std::string pending;
        bool busy;
        bool empty;
    } cases[] = {
        {"RES://Logo", false, "RES://Logo", "", false, false},
        {"res://Logo", true, "res://Logo", "", false, false},
        {"RES://logo", false, "RES://logo", "", false, false}, // names are found without regard to case
        {"RES://", false, "RES://", "", false, true},
        {"RES://Missing", false, "RES://Missing", "", false, true},
        {fileAddress, false, fileAddress, "", false, false},
        {"FILE://", false, "FILE://", "", false, true},
        {"FILE:///no/such/file.gif", false, "FILE:///no/such/file.gif", "", false, true},
        {"http://example.org/a.gif", false, "http://example.org/a.gif", "http://example.org/a.gif", false,
         true},
        {"http://example.org/a.gif", true, "", "http://example.org/a.gif", true, true},
        {"RESX://Logo", false, "RESX://Logo", "RESX://Logo", false, true},
    };
    for (const auto& c : cases) {
        THTMLPicture picture(backend);
        picture.SetAsynchronous(c.asynchronous);
        picture.LoadFromAddress(c.address);
        EXPECT_EQ(picture.SourceAddress(), c.source) << c.address;
        EXPECT_EQ(picture.PendingAddress(), c.pending) << c.address;
        EXPECT_EQ(picture.Busy(), c.busy) << c.address;
        EXPECT_EQ(picture.QueryEmpty(), c.empty) << c.address;
    }
    std::filesystem::remove(file);
}

TEST_F(PictureTest, ResourceThatDoesNotDecodeRaises) {
    resources.Entries = {{"Broken", {}}};
    THTMLPicture picture(backend);
    picture.SetAsynchronous(false);
    EXPECT_THROW(picture.LoadFromAddress("RES://Broken"), Error);
    EXPECT_EQ(picture.SourceAddress(), "RES://Broken");
    EXPECT_FALSE(picture.QueryEmpty());
    EXPECT_EQ(picture.Decoded(), nullptr);
    EXPECT_EQ(picture.PictureWidth(), 0);
}

TEST_F(PictureTest, ABusyPictureIgnoresLaterAddresses) {
    THTMLPicture picture(backend);
    picture.LoadFromAddress("http://example.org/first.gif");
    picture.LoadFromAddress("http://example.org/second.gif");
    EXPECT_TRUE(picture.Busy());
    EXPECT_EQ(picture.PendingAddress(), "http://example.org/first.gif");
    EXPECT_EQ(picture.SourceAddress(), "");
}

TEST_F(PictureTest, AnimationFollowsTheFrameDelays) {
    const struct {
        const char* name;
        std::vector<std::uint16_t> delays;
        std::string framesAfterEachTick;
    } cases[] = {
        // Frame 2 at the 2nd tick, frame 1 at the 4th, frame 2 at the 9th and frame 1 at the 11th.
        {"delays 50 and 20", {50, 20}, "122111112211"},
        // A deadline that falls on a tick is met by that tick.
        {"delays 11 and 11", {11, 11}, "1211212121"},
        {"delays 0", {0, 0, 0}, "1231231"},
    };
    for (const auto& c : cases) {
        std::vector<GifImage> images;
        for (std::uint16_t delay : c.delays) {
            images.push_back({.Width = 2, .Height = 2, .Delay = delay});
        }
        THTMLPicture picture(backend);
        Load(picture, MakeGif(4, 4, images));
        std::int32_t shown = picture.Frame();
        for (std::size_t tick = 0; tick < c.framesAfterEachTick.size(); ++tick) {
            const std::int32_t expected = c.framesAfterEachTick[tick] - '0';
            EXPECT_EQ(picture.AnimationTick(), expected != shown) << c.name << ", tick " << tick + 1;
            EXPECT_EQ(picture.Frame(), expected) << c.name << ", tick " << tick + 1;
            shown = picture.Frame();
        }
    }
}

TEST_F(PictureTest, PicturesWithoutFramesNeverAnimate) {
    const struct {
        const char* name;
        ByteVector bytes;
    } cases[] = {
        {"one frame", MakeGif(4, 4, {{.Delay = 0}})},
        {"no control blocks", MakeGif(4, 4, {{.WithControlBlock = false}, {.WithControlBlock = false}})},
        {"not a GIF", PlainBytes()},
    };
    for (const auto& c : cases) {
        THTMLPicture picture(backend);
        Load(picture, c.bytes);
        for (int tick = 0; tick < 3; ++tick) {
            EXPECT_FALSE(picture.AnimationTick()) << c.name;
        }
        EXPECT_EQ(picture.Frame(), 1) << c.name;
    }
    THTMLPicture empty(backend);
    EXPECT_FALSE(empty.AnimationTick());
}

TEST_F(PictureTest, FrameSettingDecodesTheChosenFrame) {
    const ByteVector gif = TwoFrameGif();
    // The decoder sees the header and palette, then only the chosen frame's block and the trailer.
    const ByteVector firstAlone =
        MakeGif(20, 10, {{.Left = 0, .Top = 0, .Width = 4, .Height = 4, .ColorIndex = 0, .Delay = 50}});
    const ByteVector secondAlone =
        MakeGif(20, 10, {{.Left = 6, .Top = 2, .Width = 3, .Height = 2, .ColorIndex = 2, .Delay = 20}});
    ByteVector headerAlone = MakeGif(20, 10, {});
    headerAlone.pop_back();
    const struct {
        std::int32_t frame;
        std::uint16_t left;
        std::uint16_t top;
        ByteVector decoded;
    } cases[] = {
        // A frame of the animation is composed on its whole screen, so it sits at the screen's corner.
        {-2, 0, 0, gif},        {0, 0, 0, gif},         {1, 0, 0, firstAlone},
        {2, 0, 0, secondAlone}, {5, 0, 0, headerAlone},
    };
    for (const auto& c : cases) {
        THTMLPicture picture(backend);
        Load(picture, gif);
        int frameChanges = 0;
        picture.OnFrameChange = [&frameChanges](THTMLPicture&) {
            ++frameChanges;
        };
        picture.SetFrame(c.frame);
        EXPECT_EQ(frameChanges, 1) << c.frame;
        EXPECT_EQ(picture.FrameLeft(), c.left) << c.frame;
        EXPECT_EQ(picture.FrameTop(), c.top) << c.frame;
        EXPECT_EQ(picture.ScreenWidth(), 20) << c.frame;
        EXPECT_EQ(picture.ScreenHeight(), 10) << c.frame;
        EXPECT_EQ(decoder.LastBlock, c.decoded) << c.frame;
    }
}

TEST_F(PictureTest, DataThatIsNotAnAnimationIsDecodedWhole) {
    const struct {
        const char* name;
        ByteVector bytes;
        std::int32_t frames;
    } cases[] = {
        {"four bytes", {'G', 'I', 'F', '8'}, -1},
        {"bitmap", PlainBytes(), -1},
        {"GIF without control blocks", MakeGif(9, 9, {{.Left = 3, .Top = 4, .WithControlBlock = false}}), 0},
    };
    for (const auto& c : cases) {
        THTMLPicture picture(backend);
        Load(picture, c.bytes);
        picture.SetFrame(2);
        EXPECT_EQ(decoder.LastBlock, c.bytes) << c.name;
        EXPECT_EQ(picture.CountFrames(), c.frames) << c.name;
        EXPECT_EQ(picture.FrameLeft(), 0) << c.name;
        EXPECT_EQ(picture.ScreenWidth(), 0) << c.name;
    }
}

TEST_F(PictureTest, SettingAFrameWithoutDataOnlyStoresIt) {
    THTMLPicture picture(backend);
    int frameChanges = 0;
    picture.OnFrameChange = [&frameChanges](THTMLPicture&) {
        ++frameChanges;
    };
    picture.SetFrame(3);
    EXPECT_EQ(picture.Frame(), 3);
    EXPECT_EQ(frameChanges, 0);
    EXPECT_TRUE(decoder.OpenCount == 0);
}

TEST_F(PictureTest, FrameCountIsCachedAndBelongsToTheBytesHeld) {
    THTMLPicture picture(backend);
    EXPECT_EQ(picture.FrameTotal(), -1);
    Load(picture, PlainBytes());
    EXPECT_EQ(picture.CountFrames(), -1);
    EXPECT_EQ(picture.FrameTotal(), -1);

    Load(picture, MakeGif(4, 4, {{}, {}, {}}));
    EXPECT_EQ(picture.FrameTotal(), 3);
    Load(picture, TwoFrameGif());
    EXPECT_EQ(picture.FrameTotal(), 2);
    EXPECT_EQ(picture.CountFrames(), 2);
    EXPECT_EQ(picture.FrameDelay(2), 20);
    EXPECT_EQ(picture.FrameDelay(3), -1);
}

TEST_F(PictureTest, SizesFollowTheDecodedPictureAndTheLogicalScreen) {
    decoder.PictureWidth = 30;
    decoder.PictureHeight = 7;
    const struct {
        const char* name;
        ByteVector bytes;
        std::int32_t animationWidth;
        std::int32_t animationHeight;
    } cases[] = {
        {"plain", PlainBytes(), 30, 7},
        // An animation's frames are composed on its screen, whatever size the decoder gave each.
        {"animated", TwoFrameGif(), 20, 10},
        {"GIF without frame blocks", MakeGif(50, 60, {{.WithControlBlock = false}}), 30, 7},
    };
    for (const auto& c : cases) {
        THTMLPicture picture(backend);
        EXPECT_EQ(picture.PictureWidth(), 0);
        EXPECT_EQ(picture.AnimationWidth(), 0);
        Load(picture, c.bytes);
        EXPECT_EQ(picture.PictureWidth(), c.animationWidth) << c.name;
        EXPECT_EQ(picture.PictureHeight(), c.animationHeight) << c.name;
        EXPECT_EQ(picture.AnimationWidth(), c.animationWidth) << c.name;
        EXPECT_EQ(picture.AnimationHeight(), c.animationHeight) << c.name;
    }
}

TEST_F(PictureTest, DrawsAtItsOwnSizeOrStretched) {
    decoder.PictureWidth = 16;
    decoder.PictureHeight = 8;
    const struct {
        bool stretch;
        std::int32_t pixelsPerInch;
        testkit::DrawKind kind;
        Rect area;
    } cases[] = {
        {false, 96, testkit::DrawKind::Bitmap, {10, 20, 26, 28}},
        {false, 120, testkit::DrawKind::StretchBitmap, {10, 20, 30, 30}},
        {true, 96, testkit::DrawKind::StretchBitmap, {10, 20, 110, 220}},
    };
    for (const auto& c : cases) {
        THTMLPicture picture(backend);
        Load(picture, PlainBytes());
        picture.SetStretch(c.stretch);
        FakeCanvas canvas;
        canvas.SetPixelsPerInch(c.pixelsPerInch, c.pixelsPerInch);
        picture.Draw(canvas, {10, 20, 110, 220});
        SCOPED_TRACE(::testing::Message() << "stretch " << c.stretch << " at " << c.pixelsPerInch << " ppi");
        EXPECT_EQ(canvas.Records().size(), 1u);
        if (canvas.Records().size() != 1u) {
            continue;
        }
        EXPECT_EQ(canvas.Records()[0].Kind, c.kind);
        EXPECT_EQ(canvas.Records()[0].Area, c.area);
        EXPECT_EQ(canvas.Records()[0].BitmapSize, (Size{16, 8}));
    }
}

class NotAPicture : public TPersistent {};

TEST_F(PictureTest, DrawsNothingWhenEmptyOrUndecoded) {
    FakeCanvas canvas;
    THTMLPicture empty(backend);
    empty.Draw(canvas, {0, 0, 50, 50});

    THTMLPicture rejected(backend);
    decoder.NextAnswer = Answer::Reject;
    EXPECT_THROW(Load(rejected, PlainBytes()), Error);
    rejected.Draw(canvas, {0, 0, 50, 50});

    THTMLPicture copiedFromOther(backend);
    decoder.NextAnswer = Answer::Accept;
    Load(copiedFromOther, PlainBytes());
    const NotAPicture other;
    copiedFromOther.CopyFrom(&other);
    copiedFromOther.Draw(canvas, {0, 0, 50, 50});
    EXPECT_TRUE(canvas.Records().empty());
}

TEST_F(PictureTest, CopyFromTakesTheBytesAndStartsOver) {
    THTMLPicture gif(backend);
    Load(gif, TwoFrameGif());
    THTMLPicture emptyPicture(backend);
    const NotAPicture other;
    const struct {
        const char* name;
        const TPersistent* source;
        ByteVector bytes;
        bool empty;
        int changes;
    } cases[] = {
        {"none", nullptr, {}, true, 0},
        {"picture", &gif, TwoFrameGif(), false, 1},
        {"empty picture", &emptyPicture, {}, true, 1},
        {"other class", &other, MakeGif(4, 4, {{}, {}, {}}), true, 0},
    };
    for (const auto& c : cases) {
        THTMLPicture target(backend);
        target.SetAsynchronous(false);
        target.LoadFromAddress("http://example.org/kept.gif");
        Load(target, MakeGif(4, 4, {{}, {}, {}}));
        target.SetFrame(3);
        target.SetStretch(true);
        int changes = 0;
        int frameChanges = 0;
        target.OnChange = [&changes](THTMLPicture&) {
            ++changes;
        };
        target.OnFrameChange = [&frameChanges](THTMLPicture& sender) {
            EXPECT_EQ(sender.Frame(), 1);
            ++frameChanges;
        };
        target.CopyFrom(c.source);
        EXPECT_EQ(target.ImageData(), c.bytes) << c.name;
        EXPECT_EQ(target.QueryEmpty(), c.empty) << c.name;
        EXPECT_EQ(target.Decoded() != nullptr, !c.empty) << c.name;
        EXPECT_EQ(changes, c.changes) << c.name;
        EXPECT_EQ(frameChanges, 1) << c.name;
        EXPECT_EQ(target.Frame(), 1) << c.name;
        EXPECT_TRUE(target.Stretch()) << c.name;
        EXPECT_EQ(target.SourceAddress(), "http://example.org/kept.gif") << c.name;
    }
}

TEST_F(PictureTest, CopiedAnimationCountsTheNewFramesAndRestarts) {
    THTMLPicture source(backend);
    Load(source, TwoFrameGif());
    THTMLPicture target(backend);
    Load(target, MakeGif(4, 4, {{}, {}, {}, {}, {}}));
    for (int tick = 0; tick < 7; ++tick) {
        target.AnimationTick();
    }
    target.CopyFrom(&source);
    EXPECT_EQ(target.FrameTotal(), 2);
    EXPECT_FALSE(target.AnimationTick());
    EXPECT_TRUE(target.AnimationTick());
    EXPECT_EQ(target.Frame(), 2);
}

TEST_F(PictureTest, CopyFromMendsAPictureWhoseBytesDoNotDecode) {
    THTMLPicture broken(backend);
    decoder.NextAnswer = Answer::Reject;
    EXPECT_THROW(Load(broken, PlainBytes()), Error);
    decoder.NextAnswer = Answer::Accept;
    THTMLPicture good(backend);
    Load(good, TwoFrameGif());
    EXPECT_NO_THROW(broken.CopyFrom(&good));
    EXPECT_NE(broken.Decoded(), nullptr);
    EXPECT_EQ(broken.ImageData(), TwoFrameGif());
}

TEST_F(PictureTest, CopyFromItselfKeepsItsBytes) {
    THTMLPicture picture(backend);
    Load(picture, TwoFrameGif());
    picture.CopyFrom(&picture);
    EXPECT_EQ(picture.ImageData(), TwoFrameGif());
    EXPECT_FALSE(picture.QueryEmpty());
    EXPECT_EQ(picture.FrameTotal(), 2);
}

} // namespace
} // namespace velmora
