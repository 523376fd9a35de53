#include "messages/Messages.h"

#include "messages/Catalogue.h"
#include "messages/FillIn.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <windows.h>

namespace velmora {

namespace {

// An installed program finds its catalogues in ..\share\locale beside its folder (as a build's programs
// do); test programs live deeper and use the build's folder.
std::filesystem::path CatalogueFolder() {
    std::wstring program(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, program.data(), static_cast<DWORD>(program.size()));
        if (length == 0)
            return VELMORA_BUILD_LOCALE_FOLDER;
        if (length < program.size()) {
            program.resize(length);
            break;
        }
        program.resize(program.size() * 2);
    }
    std::error_code error;
    const std::filesystem::path beside =
        std::filesystem::path(program).parent_path().parent_path() / "share" / "locale";
    if (std::filesystem::is_directory(beside, error))
        return beside;
    return VELMORA_BUILD_LOCALE_FOLDER;
}

// The catalogue of one language name, read once; null when there is none. A name is a folder name,
// never a way out of the catalogue folder.
const Catalogue* CatalogueOf(const std::string& language) {
    if (language.empty() || language.find_first_of("/\\:") != std::string::npos || language == "..")
        return nullptr;
    static std::mutex guard;
    static std::map<std::string, std::unique_ptr<Catalogue>> loaded;
    const std::lock_guard lock(guard);
    auto found = loaded.find(language);
    if (found == loaded.end()) {
        const std::filesystem::path file = CatalogueFolder() / language / "LC_MESSAGES" / "velmora.mo";
        found = loaded.emplace(language, std::make_unique<Catalogue>(ReadCatalogue(file))).first;
    }
    return found->second->empty() ? nullptr : found->second.get();
}

// "fr_FR.UTF-8@euro", then "fr_FR", then "fr": the names a catalogue may be filed under.
std::vector<std::string> FilingNames(const std::string& language) {
    std::vector<std::string> names{language};
    const std::string withoutCodeset = language.substr(0, language.find_first_of(".@"));
    if (withoutCodeset != names.back())
        names.push_back(withoutCodeset);
    const std::string withoutTerritory = withoutCodeset.substr(0, withoutCodeset.find('_'));
    if (withoutTerritory != names.back())
        names.push_back(withoutTerritory);
    return names;
}

std::string EnvironmentValue(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr ? value : "";
}

// The message locale as the variables give it or, when none is set, the Windows user's own language
// written as they are ("fr-FR" becomes "fr_FR").
std::string MessageLocaleName() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const std::string value = EnvironmentValue(variable);
        if (!value.empty())
            return value;
    }
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
    const int length = GetUserDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH);
    std::string locale;
    for (int at = 0; at + 1 < length; ++at)
        locale += name[at] == L'-' ? '_' : static_cast<char>(name[at] & 0x7F);
    return locale.empty() ? "C" : locale;
}

bool IsCLocale(const std::string& name) {
    return name == "C" || name == "POSIX" || name.starts_with("C.");
}

// A locale is there when Windows knows its language and territory; the C locale always is.
bool IsInstalled(const std::string& localeName) {
    if (IsCLocale(localeName))
        return true;
    std::wstring name;
    for (const char c : localeName.substr(0, localeName.find_first_of(".@")))
        name += c == '_' ? L'-' : static_cast<wchar_t>(static_cast<unsigned char>(c));
    return IsValidLocaleName(name.c_str()) != 0;
}

// The languages whose catalogues are searched, as the C library's lookups search them on Linux: the
// LANGUAGE list alone when it is set, else the locale; none under the C locale.
std::vector<std::string> SearchedLanguages() {
    std::vector<std::string> languages = MessageLanguages();
    if (!languages.empty() && !EnvironmentValue("LANGUAGE").empty())
        languages.pop_back();
    return languages;
}

} // namespace

std::string Localized(const char* english, std::initializer_list<std::string_view> values) {
    for (const std::string& language : SearchedLanguages()) {
        for (const std::string& name : FilingNames(language)) {
            const Catalogue* catalogue = CatalogueOf(name);
            if (catalogue == nullptr)
                continue;
            const auto translation = catalogue->find(english);
            if (translation != catalogue->end())
                return FillIn(translation->second, values);
            break;
        }
    }
    return FillIn(english, values);
}

std::vector<std::string> MessageLanguages() {
    const std::string localeName = MessageLocaleName();
    if (localeName == "C" || localeName == "POSIX" || !IsInstalled(localeName))
        return {};
    std::vector<std::string> languages;
    const std::string list = EnvironmentValue("LANGUAGE");
    for (std::string_view rest = list; !rest.empty();) {
        const std::size_t colon = rest.find(':');
        if (colon != 0)
            languages.emplace_back(rest.substr(0, colon));
        rest.remove_prefix(colon == std::string_view::npos ? rest.size() : colon + 1);
    }
    languages.push_back(localeName);
    return languages;
}

// The Windows C runtime has its texts in English only.
std::string SystemErrorText(int error) {
    return std::strerror(error);
}

} // namespace velmora
