#include "files/FolderBeneath.h"

#include "files/BeneathKernel.h"
#include "files/FileStatus.h"

#include <atomic>
#include <cerrno>
#include <optional>
#include <vector>

namespace velmora {
namespace {

std::atomic<BeneathCheck> chosenCheck{BeneathCheck::Kernel};

int WalkRefusal(const std::string& folder, const std::vector<std::string>& parts) {
    std::string path = folder.empty() ? std::string("./") : folder + (folder.back() == '/' ? "" : "/");
    for (std::size_t i = 0; i < parts.size(); ++i) {
        path += parts[i];
        const EntryKind kind = EntryKindOf(path);
        const bool last = i + 1 == parts.size();
        if (kind == EntryKind::Other) {
            return ELOOP;
        }
        if (!last && kind != EntryKind::Folder) {
            return kind == EntryKind::Missing ? ENOENT : ENOTDIR;
        }
        path += '/';
    }
    return 0;
}

} // namespace

std::optional<std::vector<std::string>> PartsBeneath(const std::string& name) {
    if (name.empty() || name[0] == '/' || name.find('\0') != std::string::npos) {
        return std::nullopt;
    }
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t slash = name.find('/', start);
        std::string part = name.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
        if (part.empty() || part == "..") {
            return std::nullopt;
        }
        if (part != ".") {
            parts.push_back(std::move(part));
        }
        if (slash == std::string::npos) {
            return parts;
        }
        start = slash + 1;
    }
}

void UseBeneathCheck(BeneathCheck check) {
    chosenCheck = check;
}

BeneathCheck ChosenBeneathCheck() {
    return chosenCheck;
}

int RefusalBeneath(const std::string& folder, const std::string& name) {
    const std::optional<std::vector<std::string>> parts = PartsBeneath(name);
    if (!parts) {
        return EXDEV;
    }
    if (parts->empty()) {
        return 0;
    }
    if (chosenCheck == BeneathCheck::Kernel) {
        std::string parent;
        for (std::size_t i = 0; i + 1 < parts->size(); ++i) {
            parent += (parent.empty() ? "" : "/") + (*parts)[i];
        }
        if (const std::optional<int> refusal = KernelRefusalBeneath(folder, parent, parts->back())) {
            return *refusal;
        }
    }
    return WalkRefusal(folder, *parts);
}

} // namespace velmora
