#pragma once

#include <string>
#include <system_error>

namespace velmora {

// Moves one file from `from` to `to` and never replaces an existing `to`. Across file systems the data
// is copied beside the target, flushed to disk, put in place without replacing, and only then is the
// source removed. A failure never leaves a partial file under the name `to`. Returns the system error,
// or an empty error code on success.
std::error_code MoveFileNoReplace(const std::string& from, const std::string& to);

// True when the path names an existing regular file (following symbolic links); a folder is no file.
bool RegularFileExists(const std::string& path);

// Replaces the file's content atomically: a temporary file in the same folder is written, flushed and
// renamed over the target, which keeps its mode. A read-only target is refused. Throws Error
// "Impossible de créer le fichier ..." with the target's path on failure.
void WriteFileAtomically(const std::string& path, std::string_view content);

} // namespace velmora
