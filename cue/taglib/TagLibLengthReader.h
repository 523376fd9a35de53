#pragma once

#include "cue/MediaLengths.h"

namespace velmora {

// Reads audio lengths from the files' headers: the length a plain WAV or FLAC header states, else
// TagLib's. Each file is opened once, for reading only.
class TagLibLengthReader final : public LengthReader {
public:
    std::optional<AudioLength> AudioLengthOf(const std::string& path) override;
};

} // namespace velmora
