#include "cli/LengthSource.h"

namespace velmora::fix {

// The Windows build carries no TagLib: sheets are repaired without their files' lengths.
LengthReader* SystemLengthReader() {
    return nullptr;
}

} // namespace velmora::fix
