#include "pictures/PictureContainer.h"

#include "PictureWriting.h"
#include "errors/Error.h"
#include "pictures/testing/FakePictureDecoder.h"
#include "pictures/testing/GifWriter.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace velmora {
namespace {

using testkit::LoadPicture;

using testkit::FakePictureDecoder;
using testkit::FakeResourceLibrary;
using testkit::MakeGif;

class PictureContainerTest : public ::testing::Test {
protected:
    TPictureItem& AddItem(const std::string& name) {
        TPictureItem& item = container.Items().Add();
        item.Name = name;
        return item;
    }

    FakePictureDecoder decoder;
    FakeResourceLibrary resources;
    PictureBackend backend{&decoder, &resources};
    TPictureContainer container{backend};
};

TEST_F(PictureContainerTest, FindsPicturesByNameWithoutCase) {
    THTMLPicture* logo = &AddItem("LOGO").Picture();
    THTMLPicture* mixed = &AddItem("Photo_1").Picture();
    THTMLPicture* unnamed = &AddItem("").Picture();
    THTMLPicture* accented = &AddItem("\xC9t\xE9").Picture();
    AddItem("logo");
    const struct {
        std::string name;
        THTMLPicture* expected;
    } cases[] = {
        {"logo", logo},         {"LoGo", logo},          {"photo_1", mixed}, {"PHOTO_1", mixed},
        {"", unnamed},          {"\xC9T\xE9", accented}, // accented letters are compared as they are
        {"\xE9t\xE9", nullptr}, {"log", nullptr},        {"logo ", nullptr}, {"photo", nullptr},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(container.PictureByName(c.name), c.expected) << c.name;
    }
}

TEST_F(PictureContainerTest, AContainerWithoutItemsFindsNothing) {
    EXPECT_EQ(container.PictureByName(""), nullptr);
    EXPECT_EQ(container.PictureByName("logo"), nullptr);
}

TEST_F(PictureContainerTest, ItemCopyTakesNameTagAndPictureBytes) {
    TPictureItem& source = AddItem("Source");
    source.Tag = 42;
    LoadPicture(source.Picture(), MakeGif(4, 4, {{}, {}}));
    source.Picture().SetStretch(true);
    TPictureItem& target = AddItem("Target");
    THTMLPicture* ownPicture = &target.Picture();

    target.CopyFrom(&source);
    EXPECT_EQ(target.Name, "Source");
    EXPECT_EQ(target.Tag, 42);
    EXPECT_EQ(&target.Picture(), ownPicture);
    EXPECT_EQ(target.Picture().ImageData(), source.Picture().ImageData());
    EXPECT_FALSE(target.Picture().Stretch());
    EXPECT_EQ(target.Index(), 1);
}

TEST_F(PictureContainerTest, ItemCopyFromAnythingElseIsAnInvalidCast) {
    THTMLPicture picture(backend);
    TPictureItem& item = AddItem("Item");
    const struct {
        const char* name;
        const TPersistent* source;
    } cases[] = {{"picture", &picture}, {"none", nullptr}};
    for (const auto& c : cases) {
        try {
            item.CopyFrom(c.source);
            ADD_FAILURE() << "no error for " << c.name;
        } catch (const Error& error) {
            EXPECT_STREQ(error.what(), "Transtypage de classe incorrect") << c.name;
        }
        EXPECT_EQ(item.Name, "Item") << c.name;
    }
}

TEST_F(PictureContainerTest, SettingThePictureCopiesIntoTheItemsOwnPicture) {
    TPictureItem& item = AddItem("Item");
    THTMLPicture* ownPicture = &item.Picture();
    THTMLPicture value(backend);
    LoadPicture(value, MakeGif(4, 4, {{}}));
    item.SetPicture(value);
    EXPECT_EQ(&item.Picture(), ownPicture);
    EXPECT_EQ(item.Picture().ImageData(), value.ImageData());
    EXPECT_FALSE(item.Picture().QueryEmpty());
}

TEST_F(PictureContainerTest, CollectionKeepsItsOwnerAndItemIndexes) {
    EXPECT_EQ(&container.Items().Owner(), &container);
    TPictureItem& first = AddItem("a");
    AddItem("b");
    TPictureItem& third = AddItem("c");
    EXPECT_EQ(&first.Collection(), &container.Items());
    container.Items().Delete(1);
    EXPECT_EQ(container.Items().Count(), 2);
    EXPECT_EQ(third.Index(), 1);
    EXPECT_EQ(&container.Items().Items(0), &first);
    EXPECT_EQ(container.PictureByName("b"), nullptr);
    EXPECT_THROW(container.Items().Items(2), Error);
    EXPECT_THROW(container.Items().Delete(-1), Error);
}

TEST_F(PictureContainerTest, StepsEveryItemsPicture) {
    const std::vector<std::uint8_t> animated = MakeGif(4, 4, {{.Delay = 0}, {.Delay = 0}});
    for (const char* name : {"a", "b"}) {
        LoadPicture(AddItem(name).Picture(), animated);
    }
    AddItem("still");
    EXPECT_FALSE(container.Items().StepAnimations()) << "the first frame stays for the first tick";
    EXPECT_TRUE(container.Items().StepAnimations());
    EXPECT_EQ(container.PictureByName("a")->Frame(), 2);
    EXPECT_EQ(container.PictureByName("b")->Frame(), 2);

    TPictureContainer quiet(backend);
    quiet.Items().Add();
    EXPECT_FALSE(quiet.Items().StepAnimations());
}

} // namespace
} // namespace velmora
