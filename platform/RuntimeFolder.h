#pragma once

#include <string>

namespace velmora {

// The per-user folder that holds the instance lock and the hand-over socket:
// $XDG_RUNTIME_DIR/velmora, else velmora-<uid> in the temp folder. It is created
// 0700 when missing; one that belongs to another user, is not a plain folder or
// is open to others is refused with std::runtime_error.
std::string RuntimeFolder();

// Creates `path` as a 0700 folder or accepts it when it already is one that the
// current user owns.
void EnsurePrivateFolder(const std::string& path);

} // namespace velmora
