#pragma once

#include "cue/references/FileReferences.h"
#include "cue/references/FileTimes.h"

#include <string>
#include <vector>

namespace velmora {

// The FILE lines of one sheet text and the INDEX times under each, read once so that the repair and
// the length checks that follow it need not read the same text twice.
struct SheetFiles {
    // The text they were read from: they describe no other.
    std::string Text;
    std::vector<FileReference> References;
    // As IndexTimesByFile gives them: one list for each reference, or one for a sheet without any.
    std::vector<FileTimes> Times;
};

SheetFiles ReadSheetFiles(std::string text);

} // namespace velmora
