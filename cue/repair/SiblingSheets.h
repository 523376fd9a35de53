#pragma once

#include "cue/storage/SheetStorage.h"

#include <string>
#include <vector>

namespace velmora {

// The files of `folderEntries` (the names in the sheet's folder) that belong to another sheet there:
// those another sheet names (read through `storage`), and those whose name without extension is another
// sheet's. A missing reference of this sheet is never offered one of them, so a repair never takes a
// sibling's file.
std::vector<std::string> FilesOfOtherSheets(SheetStorage& storage, const std::string& folder,
                                            const std::vector<std::string>& folderEntries,
                                            const std::string& sheetFileName);

} // namespace velmora
