#pragma once

#include "cue/lengths/MediaLengths.h"

namespace velmora {

// TagLib's reading of lengths within the program, for the tests and the fuzzer that drive it directly;
// the programs load it as a module instead (TagLibModule).
class TagLibLengthReader final : public LengthReader {
public:
    LengthReading AudioLengthOf(const std::string& path) override;
    LengthReading AudioLengthOfOpen(const std::string& path, std::intptr_t handle,
                                    std::uint64_t size) override;
};

} // namespace velmora
