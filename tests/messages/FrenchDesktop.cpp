#include "ScopedLanguage.h"

namespace {

// These tests check the French texts that a user of a French desktop reads, whatever the language of the
// machine that runs them; programs they start inherit it.
const velmora::ScopedLanguage kFrenchDesktop(velmora::LanguageSettings{{"LANG", "fr_FR.UTF-8"}});

} // namespace
