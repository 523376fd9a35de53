#pragma once

#include <cstdlib>
#include <map>
#include <optional>
#include <string>

namespace velmora {

using LanguageSettings = std::map<std::string, std::string>;

// The English texts the code is written in, for tests of what a text says rather than of its language.
inline const LanguageSettings kEnglishMessages{{"LANG", "C.UTF-8"}};

// Sets the language variables of the environment for one test and puts back what was there before.
// Variables not named are unset, so the machine's own settings cannot leak in.
class ScopedLanguage {
public:
    explicit ScopedLanguage(const LanguageSettings& settings) {
        for (const char* name : kNames) {
            const char* value = std::getenv(name);
            saved_[name] = value != nullptr ? std::optional<std::string>(value) : std::nullopt;
            const auto given = settings.find(name);
            if (given != settings.end()) {
                { Set(name, given->second); }
            } else {
                { Unset(name); }
            }
        }
    }
    ~ScopedLanguage() {
        for (const auto& [name, value] : saved_) {
            if (value) {
                { Set(name, *value); }
            } else {
                { Unset(name); }
            }
        }
    }
    ScopedLanguage(const ScopedLanguage&) = delete;
    ScopedLanguage& operator=(const ScopedLanguage&) = delete;

    static constexpr const char* kNames[] = {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"};

private:
#ifdef _WIN32
    static void Set(const std::string& name, const std::string& value) {
        _putenv_s(name.c_str(), value.c_str());
    }
    // An empty value removes the variable from the C runtime's environment.
    static void Unset(const std::string& name) {
        _putenv_s(name.c_str(), "");
    }
#else
    static void Set(const std::string& name, const std::string& value) {
        setenv(name.c_str(), value.c_str(), 1);
    }
    static void Unset(const std::string& name) {
        unsetenv(name.c_str());
    }
#endif

    std::map<std::string, std::optional<std::string>> saved_;
};

} // namespace velmora
