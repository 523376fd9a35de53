#pragma once

#include "cue/lengths/LengthFit.h"
#include "cue/references/FileReferences.h"
#include "cue/references/SheetFiles.h"
#include "cue/repair/RepairHost.h"
#include "cue/text/SheetEncoding.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// True when the FILE line names a disc image: its type is BINARY or MOTOROLA or, without a type, its
// name has an image extension.
bool NamesImage(std::string_view text, const FileReference& reference);

// What the file at `path` holds, read as audio or as an image; nothing when the reader cannot tell, and
// then why in `reason` when the reader says.
std::optional<FileCapacity> ReadCapacity(LengthReader& reader, const std::string& path, bool image,
                                         std::string* reason = nullptr);

// A FILE line whose file's length could not be read, and why when the reader knows.
struct UnreadFile {
    FileReference Reference;
    std::string Reason;
};

// What the length checks found in one sheet.
struct LengthCheck {
    // The FILE lines whose file is too short for their INDEX times, in order.
    std::vector<LengthMisfit> Misfits;
    // The FILE lines whose file is not where the sheet says.
    std::vector<FileReference> Missing;
    // The FILE lines whose file's length could not be read: nothing is known of them.
    std::vector<UnreadFile> Unread;
};

// Checks every file that the sheet (read into `files`, in `encoding`, lying in `folder`) names against
// its INDEX times, with the host's reader; finds nothing when the host has none.
LengthCheck CheckFileLengths(const SheetFiles& files, SheetEncoding encoding, const std::string& folder,
                             RepairHost& host);

} // namespace velmora
