#pragma once

#include <string>

namespace velmora {

// What the temporary files of every system share.

// True when `name` is one of our hidden temporary names.
bool IsTemporaryName(const std::string& name);

// A fresh name of our hidden temporary pattern for a file that will be named `baseName`.
std::string NewTemporaryName(const std::string& baseName);

// True the first time it is asked for `folder` in this process, so that each folder is swept once.
bool FirstSweepOf(const std::string& folder);

} // namespace velmora
