#include "cue/repair/EncodingDecision.h"

#include "cue/references/ReferencePaths.h"
#include "cue/storage/SheetStorage.h"
#include "cue/text/CodePages.h"
#include "messages/Messages.h"
#include "text/Utf8Sequences.h"

#include <algorithm>
#include <array>

namespace velmora {
namespace {

// Below this many bytes outside ASCII the detector guesses more than it knows.
constexpr std::size_t kLongText = 24;

// The code pages sheets come in, in the order that wins a tie.
constexpr std::array kCodePages = {SheetEncoding::Windows1252, SheetEncoding::Windows1251,
                                   SheetEncoding::ShiftJis,    SheetEncoding::Gb18030,
                                   SheetEncoding::Big5,        SheetEncoding::Korean};

std::size_t BytesOutsideAscii(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(
        text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }));
}

bool IsAscii(std::string_view text) {
    return BytesOutsideAscii(text) == 0;
}

char32_t CodePointAt(std::string_view utf8, std::size_t length) {
    static constexpr std::array<unsigned, 5> kLeadMask = {0, 0x7F, 0x1F, 0x0F, 0x07};
    char32_t code = static_cast<unsigned char>(utf8[0]) & kLeadMask[length];
    for (std::size_t i = 1; i < length; ++i) {
        code = (code << 6) | (static_cast<unsigned char>(utf8[i]) & 0x3Fu);
    }
    return code;
}

// Control characters, private use and the replacement character are what a code page makes of bytes
// it leaves undefined: no sheet holds them.
bool ReadsCleanly(std::string_view text, SheetEncoding encoding) {
    const std::optional<std::string> utf8 = DecodeToUtf8(text, encoding);
    if (!utf8) {
        return false;
    }
    std::string_view rest = *utf8;
    while (!rest.empty()) {
        const std::size_t length = static_cast<unsigned char>(rest[0]) < 0x80 ? 1 : Utf8SequenceLength(rest);
        if (length == 0) {
            return false;
        }
        const char32_t code = CodePointAt(rest, length);
        if ((code >= 0x80 && code <= 0x9F) || (code >= 0xE000 && code <= 0xF8FF) || code == 0xFFFD) {
            return false;
        }
        rest.remove_prefix(length);
    }
    return true;
}

// UTF-8 with a stray byte still holds whole UTF-8 sequences.
bool HoldsUtf8Sequences(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (static_cast<unsigned char>(text[i]) >= 0xC2 && Utf8SequenceLength(text.substr(i)) > 1) {
            return true;
        }
    }
    return false;
}

std::vector<SheetEncoding> PlausibleReadings(std::string_view text, std::optional<SheetEncoding> detected) {
    std::vector<SheetEncoding> readings;
    if (detected && ReadsCleanly(text, *detected)) {
        readings.push_back(*detected);
    }
    if (HoldsUtf8Sequences(text)) {
        readings.push_back(SheetEncoding::Utf8);
    }
    for (const SheetEncoding encoding : kCodePages) {
        if (encoding != detected && ReadsCleanly(text, encoding)) {
            readings.push_back(encoding);
        }
    }
    return readings;
}

std::string_view Stem(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos || dot == 0 ? name : name.substr(0, dot);
}

// Names a reading gives to the files of the folder, listed once through the host's storage, so that a
// dry run sees the files its earlier sheets would have moved.
class FolderNames {
public:
    FolderNames(const std::string& folder, SheetStorage& storage) : folder_(folder), storage_(storage) {}

    // True when a file of the folder is `utf8Name` up to its extension, its name read as `encoding`.
    bool HasStemOf(std::string_view utf8Name, SheetEncoding encoding) {
        if (!listed_) {
            entries_ = storage_.RegularFilesIn(folder_);
            listed_ = true;
        }
        const std::string_view wanted = Stem(utf8Name.substr(utf8Name.find_last_of('/') + 1));
        return std::any_of(entries_.begin(), entries_.end(), [&](const std::string& entry) {
            const std::optional<std::string> name = DiskNameToUtf8(entry, encoding);
            return name && EqualIgnoringCase(Stem(*name), wanted);
        });
    }

private:
    const std::string& folder_;
    SheetStorage& storage_;
    bool listed_ = false;
    std::vector<std::string> entries_;
};

std::string ReadName(const std::string& name, SheetEncoding encoding) {
    return HeldAsUtf8(encoding) ? name : DecodeToUtf8(name, encoding).value_or(std::string());
}

bool LiesUnder(RepairHost& host, const std::string& utf8Name, const std::string& folder) {
    const std::string lookup = ResolveReference(utf8Name, folder).LookupPath;
    return !utf8Name.empty() && !lookup.empty() && host.Storage().FileExists(lookup);
}

// How well the files of the folder bear the reading out: two for a named file there, one for a file
// there under the name with another extension.
int Support(const std::vector<const FileReference*>& names, SheetEncoding encoding, const std::string& folder,
            RepairHost& host, FolderNames& folderNames) {
    int support = 0;
    for (const FileReference* reference : names) {
        const std::string name = ReadName(reference->Name, encoding);
        if (LiesUnder(host, name, folder)) {
            support += 2;
        } else if (!name.empty() && folderNames.HasStemOf(name, encoding)) {
            support += 1;
        }
    }
    return support;
}

EncodingDecision Known(SheetEncoding encoding) {
    return {encoding, {encoding}, false};
}

} // namespace

EncodingDecision DecideEncoding(std::string_view text, const std::vector<FileReference>& references,
                                const std::string& folder, RepairHost& host,
                                std::optional<SheetEncoding> readAs) {
    const SheetEncoding detected = DetectEncoding(text);
    if (detected == SheetEncoding::Utf8 || detected == SheetEncoding::Utf8WithBom) {
        return Known(detected);
    }
    if (readAs) {
        return Known(*readAs);
    }
    const std::optional<SheetEncoding> answer = DetectedCodePage(text);
    if (answer && BytesOutsideAscii(text) >= kLongText && ReadsCleanly(text, *answer)) {
        return Known(*answer);
    }
    std::vector<SheetEncoding> readings = PlausibleReadings(text, answer);
    if (readings.empty()) {
        readings.push_back(detected);
    }
    if (readings.size() == 1) {
        return Known(readings.front());
    }

    std::vector<const FileReference*> names;
    for (const FileReference& reference : references) {
        if (!IsAscii(reference.Name)) {
            names.push_back(&reference);
        }
    }
    FolderNames folderNames(folder, host.Storage());
    std::vector<int> support;
    for (const SheetEncoding reading : readings) {
        support.push_back(names.empty() ? 0 : Support(names, reading, folder, host, folderNames));
    }
    const int best = *std::max_element(support.begin(), support.end());
    EncodingDecision decision;
    decision.Readings.clear();
    for (std::size_t i = 0; i < readings.size(); ++i) {
        if (best == 0 || support[i] == best) {
            decision.Readings.push_back(readings[i]);
        }
    }
    decision.Encoding = decision.Readings.front();
    // A name that lies on disk under the sheet's own bytes is found whatever the reading.
    decision.CannotTell = best == 0 && std::any_of(names.begin(), names.end(), [&](const FileReference* r) {
                              return !host.Storage().FileExists(ResolveReference(r->Name, folder).LookupPath);
                          });
    return decision;
}

std::optional<std::string> EncodeForSheet(std::string_view utf8, const EncodingDecision& decision) {
    std::optional<std::string> written = EncodeFromUtf8(utf8, decision.Encoding);
    for (const SheetEncoding reading : decision.Readings) {
        if (written && EncodeFromUtf8(utf8, reading) != written) {
            return std::nullopt;
        }
    }
    return written;
}

std::optional<SheetEncoding> EncodingNamed(std::string_view name) {
    std::string folded;
    for (const char c : name) {
        if (c != '-' && c != '_' && c != ' ') {
            folded += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        }
    }
    struct Alias {
        const char* Name;
        SheetEncoding Encoding;
    };
    static constexpr std::array<Alias, 16> kAliases = {{
        {"utf8", SheetEncoding::Utf8},
        {"windows1252", SheetEncoding::Windows1252},
        {"cp1252", SheetEncoding::Windows1252},
        {"latin1", SheetEncoding::Windows1252},
        {"windows1251", SheetEncoding::Windows1251},
        {"cp1251", SheetEncoding::Windows1251},
        {"shiftjis", SheetEncoding::ShiftJis},
        {"sjis", SheetEncoding::ShiftJis},
        {"cp932", SheetEncoding::ShiftJis},
        {"gb18030", SheetEncoding::Gb18030},
        {"gbk", SheetEncoding::Gb18030},
        {"big5", SheetEncoding::Big5},
        {"cp950", SheetEncoding::Big5},
        {"euckr", SheetEncoding::Korean},
        {"cp949", SheetEncoding::Korean},
        {"uhc", SheetEncoding::Korean},
    }};
    for (const Alias& alias : kAliases) {
        if (folded == alias.Name) {
            return alias.Encoding;
        }
    }
    return std::nullopt;
}

std::string CannotTellEncodingReason() {
    return Localized("cannot tell the sheet's encoding");
}

} // namespace velmora
