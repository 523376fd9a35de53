#include "cue/references/ReferencePaths.h"

#include "files/PathNames.h"

#include <filesystem>
#include <vector>

namespace velmora {
namespace {

bool IsAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::vector<std::string> Components(std::string_view path) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string_view::npos) {
            end = path.size();
        }
        if (end > start) {
            parts.emplace_back(path.substr(start, end - start));
        }
        start = end + 1;
    }
    return parts;
}

std::string Joined(const std::vector<std::string>& parts) {
    std::string joined;
    for (const std::string& part : parts) {
        joined += (joined.empty() ? "" : "/") + part;
    }
    return joined;
}

// The last component that names a file; empty when the name ends in "." or "..".
std::string LastFileName(const std::vector<std::string>& parts) {
    if (parts.empty() || parts.back() == "." || parts.back() == "..") {
        return {};
    }
    return parts.back();
}

} // namespace

ReferencePath ResolveReference(std::string_view name, std::string_view folder) {
    std::string slashed(name);
    for (char& c : slashed) {
        if (c == '\\') {
            c = '/';
        }
    }
    const std::vector<std::string> parts = Components(slashed);
    ReferencePath result;
    const bool driveLetter = slashed.size() >= 2 && IsAsciiLetter(slashed[0]) && slashed[1] == ':';
    const bool share = slashed.rfind("//", 0) == 0;
    if (driveLetter || share || (!slashed.empty() && slashed[0] == '/')) {
        result.StaysInside = false;
        result.PlacedName = LastFileName(parts);
        if (!driveLetter && !share) {
            result.LookupPath = slashed;
        }
        return result;
    }
    result.LookupPath = std::string(folder) + slashed;
    std::vector<std::string> inside;
    for (const std::string& part : parts) {
        if (part == ".") {
            continue;
        }
        if (part != "..") {
            inside.push_back(part);
        } else if (!inside.empty()) {
            inside.pop_back();
        } else {
            result.StaysInside = false;
            break;
        }
    }
    result.PlacedName = result.StaysInside ? Joined(inside) : LastFileName(parts);
    // A name that ends in a folder ("sub/..", ".") names no file to put there.
    if (result.StaysInside && (parts.empty() || parts.back() == "." || parts.back() == "..")) {
        result.PlacedName.clear();
    }
    return result;
}

std::string RelativePathFrom(const std::string& folder, const std::string& file) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::path base = fs::absolute(PathFromUtf8(folder.empty() ? "." : folder), error).lexically_normal();
    // "/music/album/" must count as "/music/album".
    if (!base.has_filename()) {
        base = base.parent_path();
    }
    const fs::path target = fs::absolute(PathFromUtf8(file), error).lexically_normal();
    const fs::path relative = target.lexically_relative(base);
    return relative.empty() ? Utf8FromPath(target) : Utf8FromPath(relative.generic_u8string());
}

} // namespace velmora
