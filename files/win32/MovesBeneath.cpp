#include "files/FileMoves.h"
#include "files/FolderBeneath.h"
#include "files/WritesBeneath.h"

namespace velmora {
namespace {

std::string Under(const std::string& folder, const std::string& name) {
    return folder.empty() || folder.back() == '\\' || folder.back() == '/' ? folder + name
                                                                           : folder + "\\" + name;
}

} // namespace

// Here the names are checked just before the call, which then goes by path.
std::error_code MoveBeneath(const std::string& folder, const std::string& from, const std::string& to) {
    for (const std::string* name : {&from, &to}) {
        if (const int refusal = RefusalBeneath(folder, *name)) {
            return {refusal, std::generic_category()};
        }
    }
    return MoveFileNoReplace(Under(folder, from), Under(folder, to));
}

std::error_code RemoveBeneath(const std::string& folder, const std::string& name) {
    if (const int refusal = RefusalBeneath(folder, name)) {
        return {refusal, std::generic_category()};
    }
    return RemoveFile(Under(folder, name));
}

std::error_code MoveBeneath(const OpenFolder& folder, const std::string& from, const std::string& to) {
    return MoveBeneath(folder.Path(), from, to);
}

std::error_code RemoveBeneath(const OpenFolder& folder, const std::string& name) {
    return RemoveBeneath(folder.Path(), name);
}

} // namespace velmora
