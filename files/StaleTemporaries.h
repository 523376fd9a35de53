#pragma once

#include <string>

namespace velmora {

// Files are written under a hidden temporary name of our own pattern (".<target>.<16 hex digits>.tmp")
// in the target's folder before they take the target's name; a later process sweeps away what a killed
// one left.

// Removes our hidden temporaries from `folder` that belong to this user and are older than this process,
// once per folder and process: what a killed earlier run left behind.
void SweepStaleTemporaries(const std::string& folder);

} // namespace velmora
