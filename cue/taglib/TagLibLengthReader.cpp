#include "cue/taglib/TagLibLengthReader.h"

#include "cue/taglib/TagLibLength.h"

namespace velmora {

LengthReading TagLibLengthReader::AudioLengthOf(const std::string& path) {
    return TagLibLengthOf(path);
}

} // namespace velmora
