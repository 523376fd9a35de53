#include "platform/MimeAppsList.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

struct EditCase {
    const char* name;
    const char* before;
    std::optional<std::string> desktopId;
    const char* after;
};

TEST(MimeAppsListTest, OnlyOurLineChanges) {
    const EditCase cases[] = {
        {"empty file", "", "velmora.desktop", "[Default Applications]\napplication/x-cue=velmora.desktop;\n"},
        {"line replaced in place",
         "[Default "
         "Applications]\ntext/plain=gedit.desktop;\napplication/x-cue=other.desktop;\nimage/"
         "png=eog.desktop;\n",
         "velmora.desktop",
         "[Default "
         "Applications]\ntext/plain=gedit.desktop;\napplication/x-cue=velmora.desktop;\nimage/png=eog."
         "desktop;\n"},
        {"added at the end of its group, before the blank line",
         "[Default Applications]\ntext/plain=gedit.desktop;\n\n[Added "
         "Associations]\napplication/x-cue=foo.desktop;\n",
         "velmora.desktop",
         "[Default Applications]\ntext/plain=gedit.desktop;\napplication/x-cue=velmora.desktop;\n\n[Added "
         "Associations]\napplication/x-cue=foo.desktop;\n"},
        {"group added after other groups", "[Added Associations]\ntext/plain=a.desktop;\n", "velmora.desktop",
         "[Added Associations]\ntext/plain=a.desktop;\n\n[Default "
         "Applications]\napplication/x-cue=velmora.desktop;\n"},
        {"same key in another group untouched",
         "[Removed Associations]\napplication/x-cue=velmora.desktop;\n[Default Applications]\n",
         "gedit.desktop",
         "[Removed Associations]\napplication/x-cue=velmora.desktop;\n[Default "
         "Applications]\napplication/x-cue=gedit.desktop;\n"},
        {"spaces around the key", "[Default Applications]\n application/x-cue = old.desktop\n", "new.desktop",
         "[Default Applications]\napplication/x-cue=new.desktop;\n"},
        {"longer key is another key", "[Default Applications]\napplication/x-cue-sheet=a.desktop;\n",
         "b.desktop",
         "[Default Applications]\napplication/x-cue-sheet=a.desktop;\napplication/x-cue=b.desktop;\n"},
        {"removed", "[Default Applications]\napplication/x-cue=velmora.desktop;\ntext/plain=gedit.desktop;\n",
         std::nullopt, "[Default Applications]\ntext/plain=gedit.desktop;\n"},
        {"nothing to remove", "# comment\n[Default Applications]\ntext/plain=gedit.desktop;\n", std::nullopt,
         "# comment\n[Default Applications]\ntext/plain=gedit.desktop;\n"},
        {"comments and last line without break kept", "# mine\n[Default Applications]\nimage/png=eog.desktop",
         "velmora.desktop",
         "# mine\n[Default Applications]\nimage/png=eog.desktop\napplication/x-cue=velmora.desktop;\n"},
    };
    for (const EditCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(WithDefaultApplication(c.before, "application/x-cue", c.desktopId), c.after);
    }
}

struct LookupCase {
    const char* name;
    const char* text;
    std::optional<std::string> expected;
};

TEST(MimeAppsListTest, DefaultIsTheFirstIdOfTheLineInTheDefaultGroup) {
    const LookupCase cases[] = {
        {"one id", "[Default Applications]\ntext/plain=org.gnome.gedit.desktop;\n",
         "org.gnome.gedit.desktop"},
        {"first of several", "[Default Applications]\ntext/plain=a.desktop;b.desktop;\n", "a.desktop"},
        {"no trailing semicolon", "[Default Applications]\ntext/plain=mousepad.desktop\n",
         "mousepad.desktop"},
        {"only in added associations", "[Added Associations]\ntext/plain=a.desktop;\n", std::nullopt},
        {"empty value", "[Default Applications]\ntext/plain=\n", std::nullopt},
        {"other types only", "[Default Applications]\ntext/html=firefox.desktop;\n", std::nullopt},
        {"no file", "", std::nullopt},
    };
    for (const LookupCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DefaultApplication(c.text, "text/plain"), c.expected);
    }
}

struct RemovedCase {
    const char* name;
    const char* before;
    std::vector<std::string> ids;
    const char* after;
    std::vector<std::string> readBack;
};

// The removed list is edited like the default line, in its own group, and
// read back id by id.
TEST(MimeAppsListTest, TheRemovedAssociationsLineIsEditedInItsOwnGroup) {
    const RemovedCase cases[] = {
        {"group added",
         "[Default Applications]\ntext/plain=gedit.desktop;\n",
         {"velmora.desktop"},
         "[Default Applications]\ntext/plain=gedit.desktop;\n\n[Removed Associations]\n"
         "application/x-cue=velmora.desktop;\n",
         {"velmora.desktop"}},
        {"others kept beside ours",
         "[Removed Associations]\napplication/x-cue=a.desktop;\n",
         {"a.desktop", "velmora.desktop"},
         "[Removed Associations]\napplication/x-cue=a.desktop;velmora.desktop;\n",
         {"a.desktop", "velmora.desktop"}},
        {"line gone when empty",
         "[Removed Associations]\napplication/x-cue=velmora.desktop;\n[Default Applications]\n"
         "application/x-cue=velmora.desktop;\n",
         {},
         "[Removed Associations]\n[Default Applications]\napplication/x-cue=velmora.desktop;\n",
         {}},
    };
    for (const RemovedCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string after = WithGroupEntry(c.before, kRemovedGroup, "application/x-cue", c.ids);
        EXPECT_EQ(after, c.after);
        EXPECT_EQ(GroupEntry(after, kRemovedGroup, "application/x-cue"), c.readBack);
    }
    EXPECT_EQ(GroupEntry("[Removed Associations]\napplication/x-cue= a.desktop ;;b.desktop\n", kRemovedGroup,
                         "application/x-cue"),
              (std::vector<std::string>{"a.desktop", "b.desktop"}));
}

} // namespace
} // namespace velmora
