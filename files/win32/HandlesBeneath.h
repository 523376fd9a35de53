#pragma once

#include "files/win32/WidePaths.h"

#include <string>
#include <system_error>

namespace velmora {

class OpenFolder;

// What a replacement keeps of a file's attributes; read-only is refused before, and the rest are the
// system's own.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                  FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// A name opened beneath a held folder, and what the system says of it.
struct HandleBeneath {
    WinHandle File{INVALID_HANDLE_VALUE};
    BY_HANDLE_FILE_INFORMATION Info{};
    bool IsFolder() const { return (Info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
};

// How a name is opened: the access and sharing asked for, and the disposition (FILE_OPEN, or FILE_CREATE
// for a new file with the attributes given).
struct OpenRequest {
    ACCESS_MASK Access = FILE_READ_ATTRIBUTES;
    ULONG Share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    ULONG Disposition = FILE_OPEN;
    ULONG Attributes = FILE_ATTRIBUTE_NORMAL;
};

// Opens `name` ("/" or "\" between its parts) relative to the folder's handle, the entry itself when it
// is a reparse point, and refuses what does not lie beneath the folder: ELOOP for a reparse point, or a
// handle whose final path (on its volume) is not the folder's with the name after it (a link on the way,
// or one the system follows without saying so); a file this call created is removed again first.
// Returns an errno value, 0 when `opened` holds the name.
int OpenBeneath(const OpenFolder& folder, const std::string& name, const OpenRequest& request,
                HandleBeneath& opened);

// Where an open file or folder lies on its volume, every link resolved ("\\" between the parts); empty
// when the system cannot tell. Unlike the final path with its drive, Wine knows it past MAX_PATH too.
std::string PathOnVolume(HANDLE file);

// Gives an open file the name `name` in the folder `into` (held open), relative to that folder's handle.
std::error_code RenameByHandle(HANDLE file, HANDLE into, const std::string& name, bool replace);
// Removes an open file (opened with DELETE access) by its handle.
std::error_code RemoveByHandle(HANDLE file);

// True when the two handles name one file.
bool SameFile(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b);

} // namespace velmora
