#include "files/StaleTemporaries.h"

#include <utility>

namespace velmora {

// A folder cannot be locked here; the sweep keeps to temporaries older than this process, and a file
// still open for writing cannot be removed under its writer.
TemporaryFolderClaim::TemporaryFolderClaim(const std::string& folder) : folder_(folder) {}

TemporaryFolderClaim::~TemporaryFolderClaim() = default;

TemporaryFolderClaim::TemporaryFolderClaim(TemporaryFolderClaim&& other) noexcept
    : folder_(std::exchange(other.folder_, {})) {}

} // namespace velmora
