#pragma once

#include <cstdlib>
#include <map>
#include <optional>
#include <string>

namespace velmora {

using LanguageSettings = std::map<std::string, std::string>;

// Sets the language variables of the environment for one test and puts back what was there before.
// Variables not named are unset, so the machine's own settings cannot leak in.
class ScopedLanguage {
public:
    explicit ScopedLanguage(const LanguageSettings& settings) {
        for (const char* name : Names) {
            const char* value = std::getenv(name);
            saved_[name] = value != nullptr ? std::optional<std::string>(value) : std::nullopt;
            const auto given = settings.find(name);
            if (given != settings.end())
                setenv(name, given->second.c_str(), 1);
            else
                unsetenv(name);
        }
    }
    ~ScopedLanguage() {
        for (const auto& [name, value] : saved_) {
            if (value)
                setenv(name.c_str(), value->c_str(), 1);
            else
                unsetenv(name.c_str());
        }
    }
    ScopedLanguage(const ScopedLanguage&) = delete;
    ScopedLanguage& operator=(const ScopedLanguage&) = delete;

    static constexpr const char* Names[] = {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"};

private:
    std::map<std::string, std::optional<std::string>> saved_;
};

} // namespace velmora
