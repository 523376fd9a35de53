#pragma once

#include <optional>
#include <string>

namespace velmora {

// The kernel's answer for RefusalBeneath, for a name already checked to be relative and free of "..";
// nothing where the kernel cannot tell (no openat2).
std::optional<int> KernelRefusalBeneath(const std::string& folder, const std::string& parent,
                                        const std::string& last);

} // namespace velmora
