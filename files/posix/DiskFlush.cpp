#include "files/DiskFlush.h"

#include "files/PathNames.h"
#include "files/posix/FileDescriptor.h"

#include <cerrno>
#include <fcntl.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

std::error_code FlushToDisk(const std::vector<std::string>& files) {
    std::set<std::string> folders;
    for (const std::string& file : files) {
        folders.insert(ContainingFolder(file));
    }
    std::set<dev_t> synced;
    for (const std::string& folder : folders) {
        FileDescriptor handle(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        struct stat info {};
        if (handle.get() < 0 || ::fstat(handle.get(), &info) != 0) {
            return {errno, std::generic_category()};
        }
        if (synced.insert(info.st_dev).second && ::syncfs(handle.get()) != 0) {
            return {errno, std::generic_category()};
        }
    }
    return {};
}

} // namespace velmora
