#include "cue/taglib/StatedLength.h"

#include "cue/taglib/BelievableLength.h"
#include "cue/taglib/FlacLength.h"
#include "cue/taglib/Mp3Length.h"
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
    return std::nullopt;
}

} // namespace velmora
