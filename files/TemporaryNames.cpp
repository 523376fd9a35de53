#include "files/TemporaryNames.h"

#include <cstdio>
#include <mutex>
#include <random>
#include <set>

namespace velmora {

bool IsTemporaryName(const std::string& name) {
    constexpr std::size_t kSuffixLength = 1 + 16 + 4; // ".<hex>.tmp"
    if (name.size() < 2 + kSuffixLength || name[0] != '.' || name.compare(name.size() - 4, 4, ".tmp") != 0) {
        return false;
    }
    const std::size_t dot = name.size() - kSuffixLength;
    if (name[dot] != '.') {
        return false;
    }
    for (std::size_t i = dot + 1; i < dot + 17; ++i) {
        const char c = name[i];
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) {
            return false;
        }
    }
    return true;
}

std::string NewTemporaryName(const std::string& baseName) {
    static std::mutex guard;
    static std::mt19937_64 random{std::random_device{}()};
    char suffix[17];
    {
        const std::lock_guard<std::mutex> lock(guard);
        std::snprintf(suffix, sizeof suffix, "%016llx", static_cast<unsigned long long>(random()));
    }
    // Part of the name only, so that a name near the length limit still leaves room for the suffix.
    std::string name = ".";
    name.append(baseName, 0, 200).append(".").append(suffix).append(".tmp");
    return name;
}

bool FirstSweepOf(const std::string& folder) {
    static std::mutex guard;
    static std::set<std::string> swept;
    const std::lock_guard<std::mutex> lock(guard);
    return swept.insert(folder).second;
}

} // namespace velmora
