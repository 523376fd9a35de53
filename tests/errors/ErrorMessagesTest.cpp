#include "errors/ErrorMessages.h"

#include "messages/Messages.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <string>
#include <utility>

namespace velmora {
namespace {

TEST(ErrorBox, AddsAFullStopAfterCharactersAboveTheDot) {
    const std::pair<std::string, std::string> cases[] = {
        {"'x' n'est pas une valeur entière correcte", "'x' n'est pas une valeur entière correcte."},
        {"Done.", "Done."},
        {"Why?", "Why?."},
        {"a-", "a-"},
        {"a/", "a/."},
        {"ends in é", "ends in é."},
        {"", ""},
    };
    for (const auto& [message, text] : cases) {
        EXPECT_EQ(ErrorBoxText(message), text) << message;
    }
}

TEST(FileMessages, NameThePathInQuotesAndTheSystemsReason) {
    struct Case {
        std::string message, expected;
    };
    const Case cases[] = {
        {CannotOpenMessage("/m/album.cue", ENOENT),
         std::string("Impossible d'ouvrir le fichier \"/m/album.cue\". ") + SystemErrorText(ENOENT)},
        {CannotCreateMessage("/m/album.cue.bak", EACCES),
         std::string("Impossible de créer le fichier \"/m/album.cue.bak\". ") + SystemErrorText(EACCES)},
        {CannotCreateMessage("", ENOSPC),
         std::string("Impossible de créer le fichier \"\". ") + SystemErrorText(ENOSPC)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.message, c.expected);
    }
}

} // namespace
} // namespace velmora
