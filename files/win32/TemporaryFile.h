#pragma once

#include "files/win32/WidePaths.h"

#include <string>

namespace velmora {

// A new file under one of our hidden temporary names beside `target`, created exclusively with the
// file attributes given, open for writing; the caller closes it. `path` receives its name, empty (and
// INVALID_HANDLE_VALUE returned, the error in GetLastError) when it could not be made.
HANDLE CreateHiddenBeside(const std::string& target, DWORD attributes, std::string& path);

} // namespace velmora
