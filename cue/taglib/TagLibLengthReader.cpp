#include "cue/taglib/TagLibLengthReader.h"

#include "cue/taglib/TagLibLength.h"

namespace velmora {

LengthReading TagLibLengthReader::AudioLengthOf(const std::string& path) {
    return TagLibLengthOf(path);
}

LengthReading TagLibLengthReader::AudioLengthOfOpen(const std::string& path, std::intptr_t handle,
                                                    std::uint64_t size) {
    return TagLibLengthOf(path, handle, size);
}

} // namespace velmora
