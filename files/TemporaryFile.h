#pragma once

#include <string>

namespace velmora {

// Files are written under a hidden temporary name of our own pattern (".<target>.<16 hex digits>.tmp")
// in the target's folder before they take the target's name; a later process sweeps away what a killed
// one left.

// The folder a path lies in, without a trailing separator: "." for a bare name, the root itself for one
// at the root.
std::string ContainingFolder(const std::string& path);

// True when `name` is one of our hidden temporary names.
bool IsTemporaryName(const std::string& name);

// Removes our hidden temporaries from `folder` that belong to this user and are older than this process,
// once per folder and process: what a killed earlier run left behind.
void SweepStaleTemporaries(const std::string& folder);

} // namespace velmora
