#include "messages/Messages.h"

#include "messages/FillIn.h"

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <libintl.h>
#include <locale.h>
#include <mutex>

// The C library's translation cache counter: it keys its cache by locale name only, so a changed LANGUAGE
// would go unseen until this is moved on.
extern "C" int _nl_msg_cat_cntr;

namespace velmora {

namespace {

constexpr const char* kDomain = "velmora";

// An installed program finds its catalogues in ../share/locale beside its folder (as a build's programs
// do); test programs live deeper and use the build's folder.
std::string CatalogueFolder() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        const std::filesystem::path beside = program.parent_path().parent_path() / "share" / "locale";
        if (std::filesystem::is_directory(beside, error)) {
            return beside.string();
        }
    }
    return VELMORA_BUILD_LOCALE_FOLDER;
}

void BindCatalogue() {
    static std::once_flag bound;
    std::call_once(bound, [] {
        bindtextdomain(kDomain, CatalogueFolder().c_str());
        bind_textdomain_codeset(kDomain, "UTF-8");
    });
}

// The user's message language, with UTF-8 characters whatever their own locale's character set, so
// that system texts join our UTF-8 strings intact. Made per call: the environment may have changed.
class UserMessageLocale {
public:
    UserMessageLocale() {
        ++_nl_msg_cat_cntr;
        locale_t messages = newlocale(LC_MESSAGES_MASK, "", nullptr);
        if (messages == nullptr) {
            messages = newlocale(LC_MESSAGES_MASK, "C", nullptr);
        }
        locale_t combined = messages != nullptr ? newlocale(LC_CTYPE_MASK, "C.UTF-8", messages) : nullptr;
        if (combined == nullptr && messages != nullptr) {
            freelocale(messages);
        }
        locale_ = combined;
    }
    ~UserMessageLocale() {
        if (locale_ != nullptr) {
            freelocale(locale_);
        }
    }
    UserMessageLocale(const UserMessageLocale&) = delete;
    UserMessageLocale& operator=(const UserMessageLocale&) = delete;

    locale_t Get() const { return locale_; }

private:
    locale_t locale_ = nullptr;
};

// Runs the thread in `locale` for the lifetime of this object.
class ThreadLocaleScope {
public:
    explicit ThreadLocaleScope(locale_t locale)
        : previous_(locale != nullptr ? uselocale(locale) : nullptr) {}
    ~ThreadLocaleScope() {
        if (previous_ != nullptr) {
            uselocale(previous_);
        }
    }
    ThreadLocaleScope(const ThreadLocaleScope&) = delete;
    ThreadLocaleScope& operator=(const ThreadLocaleScope&) = delete;

private:
    locale_t previous_;
};

std::string MessageLocaleName() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            return value;
        }
    }
    return "C";
}

bool IsInstalled(const std::string& localeName) {
    const locale_t locale = newlocale(LC_MESSAGES_MASK, localeName.c_str(), nullptr);
    if (locale == nullptr) {
        return false;
    }
    freelocale(locale);
    return true;
}

} // namespace

std::string Localized(const char* english, std::initializer_list<std::string_view> values) {
    BindCatalogue();
    const UserMessageLocale locale;
    const ThreadLocaleScope scope(locale.Get());
    return FillIn(dgettext(kDomain, english), values);
}

std::vector<std::string> MessageLanguages() {
    const std::string localeName = MessageLocaleName();
    if (localeName == "C" || localeName == "POSIX" || !IsInstalled(localeName)) {
        return {};
    }
    std::vector<std::string> languages;
    const char* list = std::getenv("LANGUAGE");
    for (std::string_view rest = list != nullptr ? list : ""; !rest.empty();) {
        const std::size_t colon = rest.find(':');
        if (colon != 0) {
            languages.emplace_back(rest.substr(0, colon));
        }
        rest.remove_prefix(colon == std::string_view::npos ? rest.size() : colon + 1);
    }
    languages.push_back(localeName);
    return languages;
}

std::string SystemErrorText(int error) {
    const UserMessageLocale locale;
    if (locale.Get() == nullptr) {
        return std::strerror(error);
    }
    return strerror_l(error, locale.Get());
}

} // namespace velmora
