#pragma once

#include "files/FileMoves.h"

#include <string_view>
#include <sys/stat.h>
#include <sys/types.h>

namespace velmora {

// What writing a new file shares on Linux, whether by path or beneath an open folder.

// Writes all of `data`; false with errno set when it cannot.
bool WriteAll(int fd, std::string_view data);
mode_t CurrentUmask();
// What a file made in place of or beside the one `info` describes keeps of it.
KeptAttributes AttributesOf(const struct stat& info);
// Writes `content` into the new file and gives it the kept mode (which the umask may have cut) and,
// where we may, the kept owner; false with errno set when it cannot.
bool WriteKeeping(int fd, std::string_view content, const KeptAttributes& kept);

} // namespace velmora
