#include "pictures/PictureCache.h"

#include "errors/Error.h"
#include "pictures/testing/FakePictureDecoder.h"
#include "pictures/testing/GifWriter.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace velmora {
namespace {

using testkit::FakePictureDecoder;
using testkit::FakeResourceLibrary;
using testkit::MakeGif;

class PictureCacheTest : public ::testing::Test {
protected:
    // What the markup engine does for an address: look it up, add and load it when missing, look again.
    THTMLPicture* Resolve(const std::string& address) {
        if (cache.PictureByAddress(address) == nullptr) {
            THTMLPicture& added = cache.NewPicture();
            added.SetAsynchronous(false);
            added.LoadFromAddress(address);
        }
        return cache.PictureByAddress(address);
    }

    FakePictureDecoder decoder;
    FakeResourceLibrary resources;
    THTMLPictureCache cache{PictureBackend{&decoder, &resources}};
};

TEST_F(PictureCacheTest, NewPicturesAreEmptyAndAsynchronous) {
    THTMLPicture& picture = cache.NewPicture();
    EXPECT_TRUE(picture.QueryEmpty());
    EXPECT_TRUE(picture.Asynchronous());
    EXPECT_EQ(cache.Count(), 1);
    EXPECT_EQ(&cache.Items(0), &picture);
}

TEST_F(PictureCacheTest, AddressesAreMatchedWholeAndWithTheirCase) {
    resources.Entries = {{"Logo", {'B', 'M', 1}}};
    THTMLPicture* logo = Resolve("RES://Logo");
    THTMLPicture* remote = Resolve("http://example.org/a.gif");
    const struct {
        std::string address;
        THTMLPicture* expected;
    } cases[] = {
        {"RES://Logo", logo},
        {"res://Logo", nullptr},
        {"RES://Log", nullptr},
        {"RES://Logo ", nullptr},
        {"http://example.org/a.gif", remote},
        {"HTTP://EXAMPLE.ORG/A.GIF", nullptr},
        {"", nullptr},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cache.PictureByAddress(c.address), c.expected) << c.address;
    }
}

TEST_F(PictureCacheTest, FailedAddressesAreRememberedNotRetried) {
    THTMLPicture* first = Resolve("ftp://example.org/a.gif");
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->QueryEmpty());
    EXPECT_EQ(Resolve("ftp://example.org/a.gif"), first);
    EXPECT_EQ(cache.Count(), 1);

    // The same address in other letters is another picture, loaded again.
    EXPECT_NE(Resolve("FTP://example.org/a.gif"), first);
    EXPECT_EQ(cache.Count(), 2);
}

TEST_F(PictureCacheTest, AnUndecodableResourceRaisesOnceThenStaysInTheCache) {
    resources.Entries = {{"Broken", {}}};
    EXPECT_THROW(Resolve("RES://Broken"), Error);
    THTMLPicture* later = Resolve("RES://Broken");
    ASSERT_NE(later, nullptr);
    EXPECT_FALSE(later->QueryEmpty());
    EXPECT_EQ(later->Decoded(), nullptr);
    EXPECT_EQ(cache.Count(), 1);
}

TEST_F(PictureCacheTest, FirstOfTwoEqualAddressesWins) {
    THTMLPicture& first = cache.NewPicture();
    THTMLPicture& second = cache.NewPicture();
    first.SetAsynchronous(false);
    second.SetAsynchronous(false);
    second.LoadFromAddress("mailto:a");
    first.LoadFromAddress("mailto:a");
    EXPECT_EQ(cache.PictureByAddress("mailto:a"), &first);
}

TEST_F(PictureCacheTest, IndexOutsideTheListRaisesTheListError) {
    cache.NewPicture();
    const struct {
        std::int32_t index;
        const char* message;
    } cases[] = {{-1, "Index de liste hors limites (-1)"}, {1, "Index de liste hors limites (1)"}};
    for (const auto& c : cases) {
        try {
            cache.Items(c.index);
            ADD_FAILURE() << "no error for " << c.index;
        } catch (const Error& error) {
            EXPECT_STREQ(error.what(), c.message);
        }
    }
}

TEST_F(PictureCacheTest, StepsEveryPictureEvenAfterOneChanged) {
    const std::vector<std::uint8_t> gif = MakeGif(4, 4, {{.Delay = 0}, {.Delay = 0}});
    for (int i = 0; i < 3; ++i) {
        std::istringstream stream(std::string(gif.begin(), gif.end()));
        cache.NewPicture().LoadStream(&stream);
    }
    cache.NewPicture();
    EXPECT_FALSE(cache.StepAnimations()) << "the first frame stays for the first tick";
    EXPECT_TRUE(cache.StepAnimations());
    for (std::int32_t i = 0; i < 3; ++i) {
        EXPECT_EQ(cache.Items(i).Frame(), 2) << i;
    }
    THTMLPictureCache still(PictureBackend{&decoder, &resources});
    still.NewPicture();
    EXPECT_FALSE(still.StepAnimations());
}

TEST_F(PictureCacheTest, ClearAndReleaseEmptyTheCache) {
    Resolve("http://example.org/a.gif");
    Resolve("http://example.org/b.gif");
    cache.Clear();
    EXPECT_EQ(cache.Count(), 0);
    EXPECT_EQ(cache.PictureByAddress("http://example.org/a.gif"), nullptr);
    Resolve("http://example.org/c.gif");
    cache.ReleaseAllPictures();
    EXPECT_EQ(cache.Count(), 0);
}

} // namespace
} // namespace velmora
