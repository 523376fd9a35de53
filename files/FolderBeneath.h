#pragma once

#include <optional>
#include <string>
#include <system_error>
#include <vector>

namespace velmora {

// How RefusalBeneath looks: with the kernel (openat2 with RESOLVE_BENEATH, RESOLVE_NO_SYMLINKS and
// RESOLVE_NO_MAGICLINKS, from the folder's descriptor) where the system has it, or component by
// component without following links, which gives the same answers; the walk stands in where the
// kernel cannot, and tests choose it to show that it answers alike.
enum class BeneathCheck { Kernel, ComponentWalk };
void UseBeneathCheck(BeneathCheck check);
BeneathCheck ChosenBeneathCheck();

// Why `name` (relative to `folder`, "/" between its parts) may not be written, moved or removed there,
// as an errno value: EXDEV for a name that is absolute or climbs out with "..", ELOOP for a link on
// the way or at the end, ENOENT or ENOTDIR for a folder on the way that is missing or no folder; 0 when
// it lies beneath the folder through real folders only. A last part that does not exist yet is fine.
int RefusalBeneath(const std::string& folder, const std::string& name);

// The parts of a relative name, "." left out; nothing when it is absolute, climbs out with "..", or has
// an empty part.
std::optional<std::vector<std::string>> PartsBeneath(const std::string& name);

// Moves and removals by names taken from a folder's files: each name is resolved beneath `folder` once,
// as the call is made, through real folders only (the kernel's check or the walk, as RefusalBeneath
// chooses), and the call itself goes through the descriptor of the folder that holds the last part, so
// a link swapped in after an earlier check is never followed. The errors of RefusalBeneath, then the
// system's.

// Moves the regular file `from` to `to` (a last part that is a link is refused with ELOOP, a folder or a
// device with EISDIR or EINVAL) without replacing `to`; across file systems as MoveFileNoReplace does.
std::error_code MoveBeneath(const std::string& folder, const std::string& from, const std::string& to);
// Removes one file; a link is refused with ELOOP, as RefusalBeneath refuses it.
std::error_code RemoveBeneath(const std::string& folder, const std::string& name);

} // namespace velmora
