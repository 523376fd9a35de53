#pragma once

namespace velmora {

// Raises this process's soft limit of open file descriptors to its hard limit,
// so that many waiting second starts do not starve the window of descriptors.
// Returns false when the limit could not be read or set.
bool RaiseDescriptorLimit();

} // namespace velmora
