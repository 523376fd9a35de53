#include "cli/LengthSource.h"

#include "cue/probes/ProbeLengthReader.h"
#include "cue/probes/TagLibModule.h"

namespace velmora::fix {

LengthReader* SystemLengthReader() {
    static TagLibModule otherFormats(TagLibModule::FoldersOfThisProgram());
    static ProbeLengthReader reader(&otherFormats);
    return &reader;
}

} // namespace velmora::fix
