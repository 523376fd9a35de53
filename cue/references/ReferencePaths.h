#pragma once

#include <string>
#include <string_view>

namespace velmora {

// Where the name of a FILE reference points, with "\" read as a folder separator as "/" is.
struct ReferencePath {
    // Where the file is looked for: an absolute name as it stands, a relative one from the sheet's
    // folder (sub-folders and ".." are fine for looking); empty when the name cannot name a file here (a
    // drive letter or a network share).
    std::string LookupPath;
    // The name, relative to the sheet's folder and with "/" separators, under which a missing file is put
    // there: the name itself when it stays inside the folder, else its last component. Empty when the
    // name gives no file name at all.
    std::string PlacedName;
    // False for an absolute name and for one that climbs out of the sheet's folder with "..": its file
    // goes beside the sheet under PlacedName and the sheet is rewritten to name it so.
    bool StaysInside = true;
};

// `folder` is the sheet's folder, empty or ending in "/".
ReferencePath ResolveReference(std::string_view name, std::string_view folder);

// The path of `file` relative to `folder` (both made absolute from the working folder), with "/"
// separators: the bare name for a file in the folder, "sub/x" below it, "../other/x" beside it.
std::string RelativePathFrom(const std::string& folder, const std::string& file);

} // namespace velmora
