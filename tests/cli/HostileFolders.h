#pragma once

#include "../cue/TestSupport.h"

#include <map>
#include <set>
#include <string>

namespace velmora::fix {

// Building a download folder as an attacker would, and reading back everything in it.

// Writes `bytes` at `name` below `root`, making the folders on its way.
void WriteBelow(const testkit::TempFolder& root, const std::string& name, const std::string& bytes);
// Makes `name` below `root` a link to `target`, making the folders on its way.
void LinkBelow(const testkit::TempFolder& root, const std::string& name, const std::string& target);
// Where the link at `path` points, or "(no link)".
std::string LinkTarget(const std::string& path);
// Every entry below `root` (links not followed) with what it holds: a file's bytes, a link's target.
std::map<std::string, std::string> Snapshot(const std::string& root);
// The names below `root` that look like our temporaries (".tmp" in them), links and folders included.
std::set<std::string> TemporaryNamesBelow(const std::string& root);

} // namespace velmora::fix
