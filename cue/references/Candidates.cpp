#include "cue/references/Candidates.h"

#include "files/PathNames.h"
#include "messages/Messages.h"

#include <algorithm>
#include <array>
#include <optional>

namespace velmora {
namespace {

constexpr std::array<std::string_view, 14> kAudioExtensions = {
    "mp3", "wav", "ogg", "mp4", "wma", "mpc", "flac", "ape", "wv", "m4a", "opus", "aiff", "aif", "oga"};
constexpr std::array<std::string_view, 3> kImageExtensions = {"bin", "img", "iso"};

// The name without its last extension; the whole name when it has none.
std::string_view WithoutExtension(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos || dot == 0 ? name : name.substr(0, dot);
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return EqualIgnoringCase(a, b);
}

} // namespace

const char* RuleKey(CandidateRule rule) {
    switch (rule) {
    case CandidateRule::SameNameIgnoringCase:
        return "same-name-ignoring-case";
    case CandidateRule::OtherExtension:
        return "other-extension";
    case CandidateRule::SheetBaseName:
        return "sheet-base-name";
    case CandidateRule::OnlyFileOfKind:
        return "only-file-of-kind";
    case CandidateRule::LastNameBesideSheet:
        return "last-name-beside-sheet";
    }
    return "";
}

const char* RuleDescription(CandidateRule rule) {
    switch (rule) {
    case CandidateRule::SameNameIgnoringCase:
        return ForCatalogue("same name ignoring letter case");
    case CandidateRule::OtherExtension:
        return ForCatalogue("same name with another extension");
    case CandidateRule::SheetBaseName:
        return ForCatalogue("the sheet's own name with another extension");
    case CandidateRule::OnlyFileOfKind:
        return ForCatalogue("the only file of its kind beside the sheet");
    case CandidateRule::LastNameBesideSheet:
        return ForCatalogue("the file already lies beside the sheet");
    }
    return "";
}

std::vector<std::string_view> ExtensionsOfKind(FileKind kind) {
    if (kind == FileKind::Audio) {
        return {kAudioExtensions.begin(), kAudioExtensions.end()};
    }
    return {kImageExtensions.begin(), kImageExtensions.end()};
}

bool HasExtensionOfKind(std::string_view fileName, FileKind kind) {
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos || dot == 0) {
        return false;
    }
    std::string extension(fileName.substr(dot + 1));
    for (char& c : extension) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    const auto matches = [&](std::string_view known) {
        return known == extension;
    };
    return kind == FileKind::Audio ? std::any_of(kAudioExtensions.begin(), kAudioExtensions.end(), matches)
                                   : std::any_of(kImageExtensions.begin(), kImageExtensions.end(), matches);
}

std::vector<Candidate> FindCandidates(const std::vector<std::string>& folderEntries,
                                      std::string_view reference, std::string_view sheetFileName,
                                      FileKind kind, SheetEncoding encoding,
                                      const std::vector<std::string>& taken) {
    const std::optional<std::string> wanted = DecodeToUtf8(reference, encoding);
    const std::string_view sheetBase = WithoutExtension(sheetFileName);
    std::array<std::vector<Candidate>, 4> byRule;
    std::size_t ofKind = 0;
    for (const std::string& entry : folderEntries) {
        // Taken under the name a sheet gives it, which names the file in any letter case on Windows.
        if (std::any_of(taken.begin(), taken.end(),
                        [&](const std::string& name) { return SameFileName(name, entry); })) {
            continue;
        }
        const std::optional<std::string> name = DiskNameToUtf8(entry, encoding);
        if (!name) {
            continue;
        }
        const bool rightKind = HasExtensionOfKind(*name, kind);
        ofKind += rightKind ? 1 : 0;
        std::optional<CandidateRule> rule;
        if (wanted && !wanted->empty() && SameIgnoringCase(*name, *wanted)) {
            rule = CandidateRule::SameNameIgnoringCase;
        } else if (rightKind && wanted && !wanted->empty() &&
                   (SameIgnoringCase(WithoutExtension(*name), WithoutExtension(*wanted)) ||
                    SameIgnoringCase(WithoutExtension(*name), *wanted))) {
            rule = CandidateRule::OtherExtension;
        } else if (rightKind && SameIgnoringCase(WithoutExtension(*name), sheetBase)) {
            rule = CandidateRule::SheetBaseName;
        }
        if (rule) {
            byRule[static_cast<std::size_t>(*rule)].push_back({entry, *rule});
        } else if (rightKind) {
            byRule[static_cast<std::size_t>(CandidateRule::OnlyFileOfKind)].push_back(
                {entry, CandidateRule::OnlyFileOfKind});
        }
    }
    for (std::size_t rule = 0; rule < 3; ++rule) {
        if (!byRule[rule].empty()) {
            return byRule[rule];
        }
    }
    // Only when it is the one file of its kind, counting those that other rules would have named.
    std::vector<Candidate>& only = byRule[static_cast<std::size_t>(CandidateRule::OnlyFileOfKind)];
    if (ofKind == 1 && only.size() == 1) {
        return only;
    }
    return {};
}

} // namespace velmora
