#include "messages/Messages.h"

#include "ScopedLanguage.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace velmora {
namespace {

#ifdef _WIN32
// The Windows C runtime words its system texts in English only; with no language variable set, the
// messages follow the language of the Windows user.
constexpr bool kFrenchSystemTexts = false;
constexpr bool kVariablesAlone = false;
#else
constexpr bool kFrenchSystemTexts = true;
constexpr bool kVariablesAlone = true;
#endif

struct LanguageCase {
    const char* label;
    LanguageSettings environment;
    bool french;
};

const LanguageCase kLanguageCases[] = {
    {"no language at all", {}, false},
    {"C", {{"LANG", "C"}}, false},
    {"C.UTF-8", {{"LANG", "C.UTF-8"}}, false},
    {"French desktop", {{"LANG", "fr_FR.UTF-8"}}, true},
    {"French through LC_ALL over English", {{"LANG", "C.UTF-8"}, {"LC_ALL", "fr_FR.UTF-8"}}, true},
    {"English messages on a French desktop", {{"LANG", "fr_FR.UTF-8"}, {"LC_MESSAGES", "C.UTF-8"}}, false},
    {"LC_ALL wins over LANG", {{"LANG", "fr_FR.UTF-8"}, {"LC_ALL", "C.UTF-8"}}, false},
    {"LANGUAGE list, first unknown", {{"LANG", "C.UTF-8"}, {"LANGUAGE", "xx:fr"}}, true},
    {"LANGUAGE asks for English", {{"LANG", "fr_FR.UTF-8"}, {"LANGUAGE", "en"}}, false},
    {"LANGUAGE is ignored under plain C", {{"LANG", "C"}, {"LANGUAGE", "fr"}}, false},
    {"a locale this machine lacks", {{"LANG", "xx_YY.UTF-8"}}, false},
};

TEST(MessagesTest, FollowsTheLanguageOfTheEnvironmentAtEachCall) {
    for (const LanguageCase& c : kLanguageCases) {
        SCOPED_TRACE(c.label);
        const ScopedLanguage language(c.environment);
        EXPECT_EQ(Localized("Warning"), c.french ? "Avertissement" : "Warning");
        EXPECT_EQ(SystemErrorText(ENOENT), c.french && kFrenchSystemTexts
                                               ? "Aucun fichier ou dossier de ce type"
                                               : "No such file or directory");
    }
}

TEST(MessagesTest, ListsTheLanguagesTheUserAsksFor) {
    {
        const ScopedLanguage nothing({});
        EXPECT_EQ(MessageLanguages().size(), kVariablesAlone ? 0U : 1U);
    }
    const std::pair<LanguageSettings, std::vector<std::string>> cases[] = {
        {{{"LANG", "C.UTF-8"}}, {"C.UTF-8"}},
        {{{"LANG", "C"}, {"LANGUAGE", "fr"}}, {}},
        {{{"LANG", "fr_FR.UTF-8"}}, {"fr_FR.UTF-8"}},
        {{{"LANG", "fr_FR.UTF-8"}, {"LC_MESSAGES", "C.UTF-8"}, {"LANGUAGE", "xx::fr"}},
         {"xx", "fr", "C.UTF-8"}},
        {{{"LANG", "C.UTF-8"}, {"LC_ALL", "fr_FR.UTF-8"}}, {"fr_FR.UTF-8"}},
        {{{"LANG", "xx_YY.UTF-8"}, {"LANGUAGE", "fr"}}, {}},
    };
    for (const auto& [settings, languages] : cases) {
        const ScopedLanguage language(settings);
        EXPECT_EQ(MessageLanguages(), languages) << ::testing::PrintToString(settings);
    }
}

struct MessageCase {
    const char* english;
    std::initializer_list<std::string_view> values;
    const char* englishText;
    const char* frenchText;
};

// The French texts are those a user of the first platform read; they must stay byte for byte.
const MessageCase kMessageCases[] = {
    {"Cannot open file \"%s\". %s",
     {"/m/é.cue", "sys"},
     "Cannot open file \"/m/é.cue\". sys",
     "Impossible d'ouvrir le fichier \"/m/é.cue\". sys"},
    {"Cannot create file \"%s\". %s",
     {"/m/a.cue.bak", "sys"},
     "Cannot create file \"/m/a.cue.bak\". sys",
     "Impossible de créer le fichier \"/m/a.cue.bak\". sys"},
    {"'%s' is not a valid integer value",
     {"4x"},
     "'4x' is not a valid integer value",
     "'4x' n'est pas une valeur entière correcte"},
    {"Failed to set data for '%s'",
     {""},
     "Failed to set data for ''",
     "Echec à la définition des données pour ''"},
    {"Failed to create key %s",
     {"/c/velmora"},
     "Failed to create key /c/velmora",
     "Echec à la création de la clé /c/velmora"},
    {"Runtime folder refused \"%s\": %s",
     {"/run/v", "it is open to other users"},
     "Runtime folder refused \"/run/v\": it is open to other users",
     "Dossier d'exécution refusé \"/run/v\" : it is open to other users"},
};

TEST(MessagesTest, FillsEachMessageInBothLanguages) {
    for (const MessageCase& c : kMessageCases) {
        SCOPED_TRACE(c.english);
        {
            const ScopedLanguage english(LanguageSettings{{"LANG", "C.UTF-8"}});
            EXPECT_EQ(Localized(c.english, c.values), c.englishText);
        }
        const ScopedLanguage french(LanguageSettings{{"LANG", "fr_FR.UTF-8"}});
        EXPECT_EQ(Localized(c.english, c.values), c.frenchText);
    }
}

// Each catalogue is built and installed where the lookups find it, and a user reads one language: the
// one asked for, else English.
TEST(MessagesTest, EachLanguageHasItsCatalogue) {
    const std::pair<const char*, const char*> cases[] = {
        {"fr", "Avertissement"},  {"de", "Warnung"}, {"es", "Advertencia"}, {"it", "Avviso"},
        {"ru", "Предупреждение"}, {"ja", "警告"},    {"zh_CN", "警告"},     {"ko", "경고"},
        {"pt", "Warning"},        {"en", "Warning"},
    };
    for (const auto& [language, warning] : cases) {
        const ScopedLanguage chosen(LanguageSettings{{"LANG", "C.UTF-8"}, {"LANGUAGE", language}});
        EXPECT_EQ(Localized("Warning"), warning) << language;
    }
}

TEST(MessagesTest, ValuesAreInsertedAsTheyStand) {
    const ScopedLanguage english(LanguageSettings{{"LANG", "C.UTF-8"}});
    EXPECT_EQ(Localized("Failed to create key %s", {"%s%d%n"}), "Failed to create key %s%d%n");
    EXPECT_EQ(Localized("Cannot open file \"%s\". %s", {"a"}), "Cannot open file \"a\". %s");
    EXPECT_EQ(Localized("Cannot lock \"%s\": %s", {"a", "b", "c"}), "Cannot lock \"a\": b");
}

TEST(MessagesTest, SystemTextsKeepTheirAccentsUnderANonUtf8CharacterSet) {
    const ScopedLanguage french(LanguageSettings{{"LANG", "C"}, {"LC_MESSAGES", "fr_FR.UTF-8"}});
    EXPECT_EQ(SystemErrorText(EACCES), kFrenchSystemTexts ? "Permission non accordée" : "Permission denied");
    EXPECT_EQ(Localized("Failed to create key %s", {"k"}), "Echec à la création de la clé k");
}

} // namespace
} // namespace velmora
