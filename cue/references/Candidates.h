#pragma once

#include "cue/text/SheetEncoding.h"

#include <string>
#include <string_view>
#include <vector>

namespace velmora {

enum class FileKind { Audio, Image };

// How a file beside the sheet was found for a missing reference, best first.
enum class CandidateRule {
    SameNameIgnoringCase,
    OtherExtension,
    SheetBaseName,
    OnlyFileOfKind,
    // Not a candidate: a path from elsewhere whose last name already lies beside the sheet.
    LastNameBesideSheet,
};

// "same-name-ignoring-case" and the like, for machine-readable reports.
const char* RuleKey(CandidateRule rule);
// "same name ignoring letter case" and the like, for people.
const char* RuleDescription(CandidateRule rule);

struct Candidate {
    std::string FileName; // as on disk
    CandidateRule Rule;
};

// True when the name's extension is one of the kind: the audio chooser's six plus flac, ape, wv, m4a,
// opus and aiff; bin, img and iso for images.
bool HasExtensionOfKind(std::string_view fileName, FileKind kind);

// The extensions HasExtensionOfKind accepts for `kind`, lower case and without the dot, in a fixed order.
std::vector<std::string_view> ExtensionsOfKind(FileKind kind);

// The files in `folderEntries` that may be the one `reference` (in the sheet's encoding) means, all found
// by the best rule that finds any; empty when none does. Names in `taken` (already named by the sheet
// or given to another reference) are never offered. Near-names are never offered.
std::vector<Candidate> FindCandidates(const std::vector<std::string>& folderEntries,
                                      std::string_view reference, std::string_view sheetFileName,
                                      FileKind kind, SheetEncoding encoding,
                                      const std::vector<std::string>& taken);

} // namespace velmora
