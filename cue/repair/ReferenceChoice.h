#pragma once

#include "cue/references/Candidates.h"
#include "cue/references/FileTimes.h"
#include "cue/references/ReferencePaths.h"
#include "cue/repair/RepairHost.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

// The name under which a referenced file lies on disk: the sheet's bytes for UTF-8 sheets, the name
// in UTF-8 for sheets in an ANSI code page (when it reads in it).
std::string DiskNameOf(const std::string& name, SheetEncoding encoding);

// Where the file that `name` (in the sheet's bytes) names lies, under its disk name or its bytes as
// written; nothing when it is not there.
std::optional<std::string> FoundPath(RepairHost& host, const std::string& name, const std::string& folder,
                                     SheetEncoding encoding);

struct ReferenceChoice {
    std::string Path;
    // The rule that offered the chosen file, or nothing when it was none of the candidates.
    std::optional<CandidateRule> Rule;
    // Set when the file's length decided among several candidates: "61:12.00 holds all 14 tracks".
    std::optional<std::string> ChosenForLength;
};

// Finds the files of one sheet's missing references and asks the host which one to take.
class ReferenceChooser {
public:
    ReferenceChooser(RepairHost& host, std::string folder, std::string sheetFileName, FileKind kind,
                     SheetEncoding encoding, FileFilterList filters);

    // Where the reference (in the sheet's bytes) points, read with the sheet's encoding.
    ReferencePath Resolve(const std::string& name) const;
    // True when the file is there under the sheet's bytes or its disk name.
    bool IsPresent(const std::string& name) const;
    // A file that is already spoken for is never offered again.
    void Take(const std::string& diskName) { taken_.push_back(diskName); }
    // Asks the host, with the candidates selected for it; nothing when the user cancels. Files that
    // another sheet of the folder names, or that carry another sheet's name, are never candidates.
    // Given the reference's INDEX times and a host that reads lengths, candidates whose length holds
    // them come first and those too short for them last.
    std::optional<ReferenceChoice> Ask(const std::string& name, std::size_t lineNumber,
                                       const FileTimes* times = nullptr);

private:
    RepairHost& host_;
    std::string folder_;
    std::string sheetFileName_;
    FileKind kind_;
    SheetEncoding encoding_;
    FileFilterList filters_;
    std::vector<std::string> taken_;
    // Read once, on the first missing reference.
    std::optional<std::vector<std::string>> entries_;
};

} // namespace velmora
