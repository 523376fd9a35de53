#include "tools/layers/LayerMap.h"

#include <functional>
#include <sstream>
#include <stdexcept>

namespace velmora::layers {
namespace {

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::runtime_error LineError(int line, const std::string& what) {
    return std::runtime_error("layer map line " + std::to_string(line) + ": " + what);
}

} // namespace

LayerMap LayerMap::Parse(std::string_view text) {
    LayerMap map;
    std::map<std::string, int> usedOnLine;
    std::istringstream lines{std::string(text)};
    int number = 0;
    for (std::string raw; std::getline(lines, raw);) {
        ++number;
        std::string_view line = raw;
        line = Trimmed(line.substr(0, line.find('#')));
        if (line.empty()) {
            continue;
        }
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) {
            throw LineError(number, "no \":\" after the folder");
        }
        const std::string folder(Trimmed(line.substr(0, colon)));
        if (folder.empty() || map.uses_.count(folder) != 0) {
            throw LineError(number, "folder \"" + folder + "\" is empty or listed twice");
        }
        std::set<std::string>& uses = map.uses_[folder];
        std::istringstream words{std::string(line.substr(colon + 1))};
        for (std::string used; words >> used;) {
            uses.insert(used);
            usedOnLine.emplace(used, number);
        }
    }
    for (const auto& [used, line] : usedOnLine) {
        if (map.uses_.count(used) == 0) {
            throw LineError(line, "\"" + used + "\" has no entry of its own");
        }
    }
    return map;
}

std::string LayerMap::FolderOf(std::string_view path) const {
    for (std::size_t slash = path.rfind('/'); slash != std::string_view::npos && slash > 0;
         slash = path.rfind('/', slash - 1)) {
        const std::string folder(path.substr(0, slash));
        if (uses_.count(folder) != 0) {
            return folder;
        }
    }
    return {};
}

LayerMap::Verdict LayerMap::Judge(const std::string& from, const std::string& to) const {
    if (from == to || Reaches(from, to)) {
        return Verdict::Allowed;
    }
    return Reaches(to, from) ? Verdict::Upward : Verdict::Sideways;
}

const std::set<std::string>& LayerMap::Uses(const std::string& folder) const {
    static const std::set<std::string> none;
    const auto found = uses_.find(folder);
    return found == uses_.end() ? none : found->second;
}

bool LayerMap::Reaches(const std::string& from, const std::string& to) const {
    std::set<std::string> seen;
    std::vector<std::string> pending{from};
    while (!pending.empty()) {
        const std::string folder = pending.back();
        pending.pop_back();
        for (const std::string& used : Uses(folder)) {
            if (used == to) {
                return true;
            }
            if (seen.insert(used).second) {
                pending.push_back(used);
            }
        }
    }
    return false;
}

std::vector<std::string> LayerMap::FindCycle() const {
    enum class Mark { Unvisited, OnPath, Done };
    std::map<std::string, Mark> marks;
    std::vector<std::string> path;
    std::vector<std::string> cycle;
    std::function<bool(const std::string&)> visit = [&](const std::string& folder) {
        marks[folder] = Mark::OnPath;
        path.push_back(folder);
        for (const std::string& used : Uses(folder)) {
            if (marks[used] == Mark::OnPath) {
                auto start = path.begin();
                while (*start != used) {
                    ++start;
                }
                cycle.assign(start, path.end());
                cycle.push_back(used);
                return true;
            }
            if (marks[used] == Mark::Unvisited && visit(used)) {
                return true;
            }
        }
        path.pop_back();
        marks[folder] = Mark::Done;
        return false;
    };
    for (const auto& entry : uses_) {
        if (marks[entry.first] == Mark::Unvisited && visit(entry.first)) {
            return cycle;
        }
    }
    return {};
}

} // namespace velmora::layers
