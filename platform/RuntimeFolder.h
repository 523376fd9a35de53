#pragma once

#include <optional>
#include <string>

namespace velmora {

struct RuntimeFolderChoice {
    // Empty when no private folder could be had: run without hand-over.
    std::optional<std::string> Folder;
    // Why each refused place was refused, for the one message that says so.
    std::string Refusals;
};

// The per-user folder that holds the instance lock and the hand-over socket:
// $XDG_RUNTIME_DIR/velmora, else velmora-<uid> in the temp folder, created 0700
// when missing. A place that belongs to another user, is not a plain folder or
// is open to others is refused; then a private folder made with mkdtemp is
// used, its name recorded in "runtime-folder" in the user's cache folder so
// that every instance of the user finds the same one.
RuntimeFolderChoice ChooseRuntimeFolder();

// ChooseRuntimeFolder's folder; std::runtime_error when there is none.
std::string RuntimeFolder();

// Creates `path` as a 0700 folder or accepts it when it already is one that the
// current user owns; std::runtime_error otherwise.
void EnsurePrivateFolder(const std::string& path);

} // namespace velmora
