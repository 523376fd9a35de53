#include "ReferenceChoice.h"

namespace velmora {

std::string DiskNameOf(const std::string& name, SheetEncoding encoding) {
    if (encoding == SheetEncoding::Utf8 || encoding == SheetEncoding::Utf8WithBom)
        return name;
    return DecodeToUtf8(name, encoding).value_or(name);
}

ReferenceChooser::ReferenceChooser(RepairHost& host, std::string folder, std::string sheetFileName,
                                   FileKind kind, SheetEncoding encoding, FileFilterList filters)
    : host_(host), folder_(std::move(folder)), sheetFileName_(std::move(sheetFileName)), kind_(kind),
      encoding_(encoding), filters_(std::move(filters)) {}

bool ReferenceChooser::IsPresent(const std::string& name) const {
    if (host_.FileExists(folder_ + name))
        return true;
    const std::string diskName = DiskNameOf(name, encoding_);
    return diskName != name && host_.FileExists(folder_ + diskName);
}

std::optional<ReferenceChoice> ReferenceChooser::Ask(const std::string& name, std::size_t lineNumber) {
    if (!entries_)
        entries_ = RegularFilesIn(folder_);
    const std::vector<Candidate> candidates =
        FindCandidates(*entries_, name, sheetFileName_, kind_, encoding_, taken_);
    FileRequest request{filters_, folder_, name, lineNumber, {}};
    for (const Candidate& candidate : candidates)
        request.Candidates.push_back(folder_ + candidate.FileName);
    std::optional<std::string> chosen = host_.ChooseReferencedFile(request);
    if (!chosen)
        return std::nullopt;
    ReferenceChoice choice{std::move(*chosen), std::nullopt};
    for (const Candidate& candidate : candidates)
        if (choice.Path == folder_ + candidate.FileName)
            choice.Rule = candidate.Rule;
    return choice;
}

} // namespace velmora
