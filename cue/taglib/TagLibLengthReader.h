#pragma once

#include "cue/MediaLengths.h"

namespace velmora {

// Reads the length TagLib finds in a file's headers (MP4, WMA, MPC, APE and the layouts the project's
// own probes leave), through the bounded byte source, so that no more than ByteSource::kReadBudget bytes
// are read. Whether the length is plausible is the caller's to judge.
class TagLibLengthReader final : public LengthReader {
public:
    LengthReading AudioLengthOf(const std::string& path) override;
};

} // namespace velmora
