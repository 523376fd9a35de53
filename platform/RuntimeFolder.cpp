#include "platform/RuntimeFolder.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

namespace {

std::runtime_error FolderError(const std::string& path, const char* what) {
    return std::runtime_error("Dossier d'exécution refusé \"" + path + "\" : " + what);
}

} // namespace

void EnsurePrivateFolder(const std::string& path) {
    if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
        throw FolderError(path, std::strerror(errno));
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0)
        throw FolderError(path, std::strerror(errno));
    if (!S_ISDIR(info.st_mode))
        throw FolderError(path, "ce n'est pas un dossier");
    if (info.st_uid != geteuid())
        throw FolderError(path, "il appartient à un autre utilisateur");
    if ((info.st_mode & 077) != 0)
        throw FolderError(path, "il est ouvert aux autres utilisateurs");
}

std::string RuntimeFolder() {
    std::string folder;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && *runtime == '/') {
        folder = std::string(runtime) + "/velmora";
    } else {
        const char* temp = std::getenv("TMPDIR");
        std::string base = temp != nullptr && *temp == '/' ? temp : "/tmp";
        folder = base + "/velmora-" + std::to_string(geteuid());
    }
    EnsurePrivateFolder(folder);
    return folder;
}

} // namespace velmora
