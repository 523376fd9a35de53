#pragma once

#include "cue/lengths/MediaLengths.h"

namespace velmora {

// Reads audio lengths from the files' headers: the project's own probes for WAV, FLAC, MP3, Ogg, AIFF
// and WavPack, and `otherFormats` (when there is one) for the rest, and believes only a length that is
// plausible for the file's size. Each file is opened for reading only, and no more than
// ByteSource::kReadBudget bytes of it are read.
class ProbeLengthReader final : public LengthReader {
public:
    explicit ProbeLengthReader(LengthReader* otherFormats) : otherFormats_(otherFormats) {}

    LengthReading AudioLengthOf(const std::string& path) override;

private:
    LengthReader* otherFormats_;
};

} // namespace velmora
