#pragma once

#include <string>

namespace velmora {

// How RefusalBeneath looks: with the kernel (openat2 with RESOLVE_BENEATH, RESOLVE_NO_SYMLINKS and
// RESOLVE_NO_MAGICLINKS, from the folder's descriptor) where the system has it, or component by
// component without following links, which gives the same answers; the walk stands in where the
// kernel cannot, and tests choose it to show that it answers alike.
enum class BeneathCheck { Kernel, ComponentWalk };
void UseBeneathCheck(BeneathCheck check);

// Why `name` (relative to `folder`, "/" between its parts) may not be written, moved or removed there,
// as an errno value: EXDEV for a name that is absolute or climbs out with "..", ELOOP for a link on
// the way or at the end, ENOENT or ENOTDIR for a folder on the way that is missing or no folder; 0 when
// it lies beneath the folder through real folders only. A last part that does not exist yet is fine.
int RefusalBeneath(const std::string& folder, const std::string& name);

} // namespace velmora
