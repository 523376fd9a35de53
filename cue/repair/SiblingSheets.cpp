#include "cue/repair/SiblingSheets.h"

#include "cue/references/FileReferences.h"
#include "cue/references/ReferencePaths.h"
#include "cue/repair/ReferenceChoice.h"
#include "cue/text/SheetEncoding.h"
#include "errors/Error.h"

#include <algorithm>

namespace velmora {
namespace {

// Sheets are small; anything larger is no sheet worth reading for names.
constexpr std::size_t kLargestSheet = 1 << 20;

bool IsSheetName(const std::string& name) {
    if (name.size() < 5) {
        return false;
    }
    std::string extension = name.substr(name.size() - 4);
    for (char& c : extension) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return extension == ".cue";
}

std::string WithoutExtension(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

// The sheet's bytes; nothing of a file that cannot be read as one.
std::string ReadSmallFile(SheetStorage& storage, const std::string& path) {
    try {
        return storage.ReadFile(path, kLargestSheet, FinalLink::Follow).value_or(std::string());
    } catch (const Error&) {
        return {};
    }
}

} // namespace

std::vector<std::string> FilesOfOtherSheets(SheetStorage& storage, const std::string& folder,
                                            const std::vector<std::string>& folderEntries,
                                            const std::string& sheetFileName) {
    std::vector<std::string> named;
    std::vector<std::string> otherBases;
    for (const std::string& entry : folderEntries) {
        if (entry == sheetFileName || !IsSheetName(entry)) {
            continue;
        }
        otherBases.push_back(WithoutExtension(entry));
        std::string text = ReadSmallFile(storage, folder + entry);
        SheetEncoding encoding = SheetEncoding::Utf8;
        if (std::optional<std::pair<SheetEncoding, std::string>> utf16 = ReadUtf16(text)) {
            text = std::move(utf16->second);
        } else {
            encoding = DetectEncoding(text);
        }
        for (const FileReference& reference : FindFileReferences(text)) {
            const ReferencePath path = ResolveReference(DiskNameOf(reference.Name, encoding), "");
            if (path.StaysInside && !path.PlacedName.empty()) {
                named.push_back(path.PlacedName);
            }
        }
    }
    const auto matchesAny = [](const std::vector<std::string>& names, const std::string& name) {
        return std::any_of(names.begin(), names.end(),
                           [&](const std::string& other) { return EqualIgnoringCase(other, name); });
    };
    // Letter case is ignored as the candidate rules ignore it.
    std::vector<std::string> claimed;
    for (const std::string& entry : folderEntries) {
        if (!IsSheetName(entry) &&
            (matchesAny(named, entry) || matchesAny(otherBases, WithoutExtension(entry)))) {
            claimed.push_back(entry);
        }
    }
    return claimed;
}

} // namespace velmora
