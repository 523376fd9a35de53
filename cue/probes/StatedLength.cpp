#include "cue/probes/StatedLength.h"

#include "cue/probes/AiffLength.h"
#include "cue/probes/ApeLength.h"
#include "cue/probes/BelievableLength.h"
#include "cue/probes/FlacLength.h"
#include "cue/probes/Mp3Length.h"
#include "cue/probes/Mp4Length.h"
#include "cue/probes/MpcLength.h"
#include "cue/probes/OggLength.h"
#include "cue/probes/WavLength.h"
#include "cue/probes/WavPackLength.h"

namespace velmora {

std::optional<LengthReading> StatedLength(ByteSource& stream, std::string_view path) {
    if (!stream.IsOpen()) {
        return std::nullopt;
    }
    const std::string extension = LowerExtension(path);
    if (extension == "wav") {
        return WavLength(stream);
    }
    if (extension == "flac") {
        return FlacLength(stream);
    }
    if (extension == "mp3") {
        return Mp3Length(stream);
    }
    if (extension == "ogg" || extension == "oga" || extension == "opus") {
        return OggLength(stream);
    }
    if (extension == "aiff" || extension == "aif") {
        return AiffLength(stream);
    }
    if (extension == "wv") {
        return WavPackLength(stream);
    }
    // TagLib reads these; the probes only tell a file that lost its end.
    if (extension == "mp4" || extension == "m4a") {
        return Mp4Length(stream);
    }
    if (extension == "mpc") {
        return MpcLength(stream);
    }
    if (extension == "ape") {
        return ApeLength(stream);
    }
    return std::nullopt;
}

} // namespace velmora
