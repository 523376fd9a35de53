#pragma once

#include <string_view>

namespace velmora {

// True when a FILE line of the sheet names an audio file: its type keyword is one of the cue format's
// audio types (WAVE, MP3, AIFF, FLAC...) or its name ends in an audio extension. Rippers write such
// sheets without an album PERFORMER or TITLE.
bool NamesAudioFile(std::string_view text);

} // namespace velmora
