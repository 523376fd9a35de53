#include "cue/taglib/StatedLength.h"

#include "cue/taglib/AiffLength.h"
#include "cue/taglib/BelievableLength.h"
#include "cue/taglib/FlacLength.h"
#include "cue/taglib/Mp3Length.h"
#include "cue/taglib/OggLength.h"
#include "cue/taglib/WavLength.h"

namespace velmora {

std::optional<LengthReading> StatedLength(HeaderStream& stream, std::string_view path) {
    if (!stream.isOpen()) {
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
    return std::nullopt;
}

} // namespace velmora
