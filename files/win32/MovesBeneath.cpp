#include "files/FileMoves.h"
#include "files/FolderBeneath.h"
#include "files/PathNames.h"
#include "files/WritesBeneath.h"
#include "files/win32/HandlesBeneath.h"

#include <cerrno>

namespace velmora {
namespace {

std::error_code ErrorOf(int value) {
    return {value, std::generic_category()};
}

// The folder part of a relative name, "." for a name directly in the folder.
std::string ParentOf(const std::string& name) {
    const std::size_t separator = LastSeparator(name);
    return separator == std::string::npos ? "." : name.substr(0, separator);
}

} // namespace

// Each name is checked beneath the folder, then opened relative to the held folder without following a
// reparse point, its final path checked again, and the move or removal made through that handle, so a
// name swapped for a link after the check is never followed.
std::error_code MoveBeneath(const OpenFolder& folder, const std::string& from, const std::string& to) {
    if (folder.Refusal() != 0) {
        return ErrorOf(folder.Refusal());
    }
    for (const std::string* name : {&from, &to}) {
        if (const int refusal = RefusalBeneath(folder.Path(), *name)) {
            return ErrorOf(refusal);
        }
    }
    HandleBeneath source;
    if (const int error =
            OpenBeneath(folder, from, {DELETE | FILE_READ_ATTRIBUTES, FILE_SHARE_READ}, source)) {
        return ErrorOf(error);
    }
    if (source.IsFolder()) {
        return ErrorOf(EISDIR);
    }
    // The target's folder is held too, so that it is the folder checked when the name is given.
    const std::string parent = ParentOf(to);
    HandleBeneath into;
    if (parent != ".") {
        if (const int error = OpenBeneath(
                folder, parent, {FILE_READ_ATTRIBUTES | FILE_TRAVERSE, FILE_SHARE_READ | FILE_SHARE_WRITE},
                into)) {
            return ErrorOf(error);
        }
        if (!into.IsFolder()) {
            return ErrorOf(ENOTDIR);
        }
    }
    const HANDLE target = parent == "." ? static_cast<HANDLE>(folder.Handle()) : into.File.get();
    const std::error_code error =
        RenameByHandle(source.File.get(), target, std::string(FileNamePart(to)), false);
    // A folder below that lies on another volume: both names were just found beneath the folder, and the
    // copying move checks the target itself again.
    if (error.value() == EXDEV) {
        source.File.Close();
        return MoveFileNoReplace(folder.PathOf(from), folder.PathOf(to));
    }
    return error;
}

std::error_code RemoveBeneath(const OpenFolder& folder, const std::string& name) {
    if (folder.Refusal() != 0) {
        return ErrorOf(folder.Refusal());
    }
    if (const int refusal = RefusalBeneath(folder.Path(), name)) {
        return ErrorOf(refusal);
    }
    HandleBeneath file;
    if (const int error = OpenBeneath(folder, name, {DELETE | FILE_READ_ATTRIBUTES}, file)) {
        return ErrorOf(error);
    }
    if (file.IsFolder()) {
        return ErrorOf(EISDIR);
    }
    return RemoveByHandle(file.File.get());
}

std::error_code MoveBeneath(const std::string& folder, const std::string& from, const std::string& to) {
    return MoveBeneath(OpenFolder(folder), from, to);
}

std::error_code RemoveBeneath(const std::string& folder, const std::string& name) {
    return RemoveBeneath(OpenFolder(folder), name);
}

} // namespace velmora
