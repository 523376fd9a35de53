#pragma once

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::layers {

// Which folders of the source tree each folder may include: its own, the folders its entry names,
// and whatever those may include in turn.
class LayerMap {
public:
    // One entry a line, "folder: used-folder ...", a "#" starting a comment. Throws std::runtime_error
    // naming the line for a line without ":", a folder listed twice or a use of a folder with no entry.
    static LayerMap Parse(std::string_view text);

    // The entry that `path` (a file's path from the source root, '/' between folders) belongs to: the
    // longest one that is the file's folder or a folder above it; empty when there is none.
    std::string FolderOf(std::string_view path) const;

    enum class Verdict { Allowed, Upward, Sideways };
    // Upward: `to` uses `from`, so `from` reaching into it would close a circle. Sideways: neither
    // uses the other.
    Verdict Judge(const std::string& from, const std::string& to) const;

    // The folders an entry names, as written.
    const std::set<std::string>& Uses(const std::string& folder) const;

    // Folders that use each other in a circle, the first repeated at the end; empty when there are none.
    std::vector<std::string> FindCycle() const;

private:
    bool Reaches(const std::string& from, const std::string& to) const;

    std::map<std::string, std::set<std::string>> uses_;
};

} // namespace velmora::layers
