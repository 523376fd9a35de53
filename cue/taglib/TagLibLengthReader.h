#pragma once

#include "cue/lengths/MediaLengths.h"

namespace velmora {

// Reads audio lengths from the files' headers: the project's own probes for WAV, FLAC and MP3, else
// TagLib's, and believes only a length that is plausible for the file's size. Each file is opened once,
// for reading only, and no more than HeaderStream::kReadBudget bytes of it are read.
class TagLibLengthReader final : public LengthReader {
public:
    LengthReading AudioLengthOf(const std::string& path) override;
};

} // namespace velmora
