#include "cli/LengthSource.h"

#include "cue/taglib/TagLibLengthReader.h"

namespace velmora::fix {

LengthReader* SystemLengthReader() {
    static TagLibLengthReader reader;
    return &reader;
}

} // namespace velmora::fix
