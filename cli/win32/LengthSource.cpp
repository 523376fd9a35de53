#include "cli/LengthSource.h"

#include "cue/probes/ProbeLengthReader.h"

namespace velmora::fix {

// The Windows build carries no TagLib: the project's own probes read WAV, FLAC, MP3, Ogg, AIFF and
// WavPack, and the other formats are unchecked.
LengthReader* SystemLengthReader() {
    static ProbeLengthReader reader(nullptr);
    return &reader;
}

} // namespace velmora::fix
