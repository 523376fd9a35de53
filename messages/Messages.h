#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// The messages of the platform layer (file, settings and warning texts) are written in English here and
// looked up in the "velmora" message catalogue in the user's language, as LANGUAGE, LC_ALL, LC_MESSAGES
// and LANG give it at the time of the call. A language without a catalogue gets the English text. Each
// "%s" of the text is replaced, in order, by the next of `values`; a translation cannot make it read
// more values than the call gives.
std::string Localized(const char* english, std::initializer_list<std::string_view> values = {});

// Marks a text that is looked up later, where it is shown (a chooser's filter name), so that the
// catalogue check finds it; the text itself is returned as it stands.
constexpr const char* ForCatalogue(const char* english) {
    return english;
}

// The languages the user reads messages in, most wanted first, as the lookups above choose them: the
// LANGUAGE list, then the message locale's name ("fr_FR.UTF-8"). Empty under the C locale, or when the
// locale named is not installed (the lookups then give English).
std::vector<std::string> MessageLanguages();

// The system's text for errno value `error`, in the same language as Localized.
std::string SystemErrorText(int error);

} // namespace velmora
