#pragma once

#include "files/win32/WidePaths.h"

#include <string>

namespace velmora {

// The hidden temporaries this process wrote beneath its folders, each held open without sharing its
// deletion, so that no other run's sweep can remove it, until it is renamed or removed through its
// handle, or the last claim on its folder ends. Folders are named as their claims name them.

void HoldTemporary(const std::string& folder, const std::string& name, WinHandle file);
// The handle held for a temporary, or nullptr when none is.
HANDLE HeldTemporary(const std::string& folder, const std::string& name);
// Closes the handle held for a temporary, once it has been renamed or removed.
void LetGoOfTemporary(const std::string& folder, const std::string& name);

} // namespace velmora
