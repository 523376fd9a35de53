#include "cli/LengthSource.h"

#include "cue/probes/ProbeLengthReader.h"
#include "cue/taglib/TagLibLengthReader.h"

namespace velmora::fix {

LengthReader* SystemLengthReader() {
    static TagLibLengthReader otherFormats;
    static ProbeLengthReader reader(&otherFormats);
    return &reader;
}

} // namespace velmora::fix
