#pragma once

#include "cue/references/FileReferences.h"
#include "cue/repair/RepairHost.h"
#include "cue/text/SheetEncoding.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// How a sheet's bytes are to be read.
struct EncodingDecision {
    // The reading the repair goes by.
    SheetEncoding Encoding = SheetEncoding::Utf8;
    // Every reading still possible, Encoding first: one when the encoding is known.
    std::vector<SheetEncoding> Readings{SheetEncoding::Utf8};
    // Set when a FILE name outside ASCII lies on disk under none of the readings, and none of them is
    // known to be right: where to look for it, and how to write what replaces it, cannot be told.
    bool CannotTell = false;
};

// A byte order mark or valid UTF-8 tells the encoding; so does the character set detector when the
// text is long enough and reads cleanly in its answer. Otherwise each reading in which the text reads
// cleanly is tried on the FILE names: the one under which most of the named files lie in `folder` (under
// that name, or with another extension) decides. `readAs`, the user's word, overrules all but a byte
// order mark and valid UTF-8.
EncodingDecision DecideEncoding(std::string_view text, const std::vector<FileReference>& references,
                                const std::string& folder, RepairHost& host,
                                std::optional<SheetEncoding> readAs);

// UTF-8 text as the sheet must write it: the same bytes in every reading still possible, so what is
// written reads alike whichever is right; nothing when they differ or a reading cannot hold it.
std::optional<std::string> EncodeForSheet(std::string_view utf8, const EncodingDecision& decision);

// The encoding a user names ("Shift-JIS", "cp932", "euc-kr"...), in any letter case; nothing for a name
// the repair does not know.
std::optional<SheetEncoding> EncodingNamed(std::string_view name);

// The reason a sheet whose encoding cannot be told stays as it is, in the user's language.
std::string CannotTellEncodingReason();

} // namespace velmora
