#include "messages/Catalogue.h"

#include "ScopedLanguage.h"
#include "messages/Messages.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace velmora {
namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

void PutWord(std::string& bytes, std::size_t at, std::uint32_t value, bool bigEndian) {
    for (int index = 0; index < 4; ++index) {
        const int shift = bigEndian ? 24 - 8 * index : 8 * index;
        bytes[at + static_cast<std::size_t>(index)] = static_cast<char>((value >> shift) & 0xFF);
    }
}

// A catalogue file as msgfmt lays it out: header, table of English texts, table of translations,
// then the texts themselves, each followed by a NUL.
std::string MakeCatalogue(const Entries& entries, bool bigEndian = false) {
    const auto count = static_cast<std::uint32_t>(entries.size());
    const std::uint32_t originals = 28;
    const std::uint32_t translations = originals + 8 * count;
    std::string bytes(translations + 8 * count, '\0');
    PutWord(bytes, 0, 0x950412de, bigEndian);
    PutWord(bytes, 8, count, bigEndian);
    PutWord(bytes, 12, originals, bigEndian);
    PutWord(bytes, 16, translations, bigEndian);
    for (std::uint32_t index = 0; index < count; ++index) {
        for (const bool translated : {false, true}) {
            const std::string& text = translated ? entries[index].second : entries[index].first;
            const std::uint32_t table = translated ? translations : originals;
            PutWord(bytes, table + 8 * index, static_cast<std::uint32_t>(text.size()), bigEndian);
            PutWord(bytes, table + 8 * index + 4, static_cast<std::uint32_t>(bytes.size()), bigEndian);
            bytes += text;
            bytes += '\0';
        }
    }
    return bytes;
}

const Entries kFrench = {
    {"", "Content-Type: text/plain; charset=UTF-8\n"},
    {"Warning", "Avertissement"},
    {std::string("%s file\0%s files", 15), std::string("%s fichier\0%s fichiers", 21)},
    {"Untranslated", ""},
};

TEST(Catalogue, ReadsTheTranslationsOfEitherByteOrder) {
    for (const bool bigEndian : {false, true}) {
        SCOPED_TRACE(bigEndian ? "big-endian" : "little-endian");
        const Catalogue catalogue = ParseCatalogue(MakeCatalogue(kFrench, bigEndian));
        // The header, the plural entry and the untranslated text are not looked up.
        EXPECT_EQ(catalogue, (Catalogue{{"Warning", "Avertissement"}}));
    }
}

TEST(Catalogue, RefusesWhatIsNotAWholeCatalogue) {
    const std::string good = MakeCatalogue(kFrench);
    std::string badMagic = good;
    badMagic[0] = 'x';
    std::string offsetBeyond = good;
    PutWord(offsetBeyond, 28 + 8 + 4, 0xFFFFFFF0, false);
    std::string tableBeyond = good;
    PutWord(tableBeyond, 8, 0x10000000, false);
    const std::pair<const char*, std::string> cases[] = {
        {"nothing", ""},
        {"a header cut short", good.substr(0, 10)},
        {"texts cut short", good.substr(0, good.size() - 5)},
        {"another magic number", badMagic},
        {"a text past the end", offsetBeyond},
        {"more entries than the file holds", tableBeyond},
    };
    for (const auto& [label, bytes] : cases) {
        SCOPED_TRACE(label);
        EXPECT_TRUE(ParseCatalogue(bytes).empty());
    }
}

TEST(Catalogue, ReadsTheBuildsFrenchCatalogue) {
    const Catalogue catalogue = ReadCatalogue(VELMORA_BUILD_LOCALE_FOLDER "/fr/LC_MESSAGES/velmora.mo");
    const auto warning = catalogue.find("Warning");
    ASSERT_NE(warning, catalogue.end());
    EXPECT_EQ(warning->second, "Avertissement");
    EXPECT_TRUE(ReadCatalogue(VELMORA_BUILD_LOCALE_FOLDER "/xx/LC_MESSAGES/velmora.mo").empty());
}

TEST(Catalogue, LanguageNamesStayInsideTheCatalogueFolder) {
    const std::pair<const char*, const char*> cases[] = {
        {"fr", "Avertissement"},
        {"fr/../fr", "Warning"},
        {"fr\\..\\fr", "Warning"},
    };
    for (const auto& [list, expected] : cases) {
        const ScopedLanguage language(LanguageSettings{{"LANG", "fr_FR.UTF-8"}, {"LANGUAGE", list}});
        EXPECT_EQ(Localized("Warning"), expected) << list;
    }
}

} // namespace
} // namespace velmora
