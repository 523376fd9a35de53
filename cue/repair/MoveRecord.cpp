#include "cue/repair/MoveRecord.h"

#include "cue/text/TextBuffer.h"
#include "errors/ErrorMessages.h"
#include "messages/Messages.h"

#include <charconv>
#include <cstdint>

namespace velmora {
namespace {

constexpr std::string_view kHeader = "Velmora moves\n";
constexpr std::string_view kDone = "done\n";
constexpr std::string_view kSheet = "sheet ";
constexpr std::size_t kDigestLength = 16;

void AppendPath(std::string& out, const std::string& path) {
    out += std::to_string(path.size());
    out += ' ';
    out += path;
    out += '\n';
}

std::optional<std::string> TakePath(std::string_view& bytes) {
    std::size_t length = 0;
    const auto [end, error] = std::from_chars(bytes.data(), bytes.data() + bytes.size(), length);
    const auto digits = static_cast<std::size_t>(end - bytes.data());
    if (error != std::errc() || digits == 0 || digits >= bytes.size() || bytes[digits] != ' ' ||
        bytes.size() - digits - 1 < length + 1 || bytes[digits + 1 + length] != '\n') {
        return std::nullopt;
    }
    std::string path(bytes.substr(digits + 1, length));
    bytes.remove_prefix(digits + 2 + length);
    return path;
}

} // namespace

std::string MoveRecordPathOf(const std::string& sheetPath) {
    return sheetPath + ".moves";
}

std::string EncodeRecord(const MoveRecord& record) {
    std::string bytes(kHeader);
    for (std::size_t i = 0; i < record.Moves.size(); ++i) {
        AppendPath(bytes, record.Moves[i].From);
        AppendPath(bytes, record.Moves[i].To);
        if (i < record.Done.size() && record.Done[i]) {
            bytes += kDone;
        }
    }
    if (record.Sheet) {
        bytes.append(kSheet).append(*record.Sheet).append("\n");
    }
    return bytes;
}

std::string EncodeMoveRecord(const std::vector<PlannedMove>& moves) {
    return EncodeRecord(MoveRecord{moves, std::vector<bool>(moves.size(), false), std::nullopt});
}

std::optional<MoveRecord> DecodeMoveRecord(std::string_view bytes) {
    if (bytes.substr(0, kHeader.size()) != kHeader) {
        return std::nullopt;
    }
    bytes.remove_prefix(kHeader.size());
    MoveRecord record;
    while (!bytes.empty()) {
        if (bytes.substr(0, kDone.size()) == kDone) {
            // Marks a move made, once.
            if (record.Moves.empty() || record.Done.back()) {
                return std::nullopt;
            }
            record.Done.back() = true;
            bytes.remove_prefix(kDone.size());
            continue;
        }
        if (bytes.substr(0, kSheet.size()) == kSheet) {
            // The last line, and only one.
            const std::string_view digest = bytes.substr(kSheet.size());
            if (digest.size() != kDigestLength + 1 || digest.back() != '\n' ||
                digest.find_first_not_of("0123456789abcdef") != kDigestLength) {
                return std::nullopt;
            }
            record.Sheet = std::string(digest.substr(0, kDigestLength));
            break;
        }
        std::optional<std::string> from = TakePath(bytes);
        std::optional<std::string> to = from ? TakePath(bytes) : std::nullopt;
        if (!to) {
            return std::nullopt;
        }
        record.Moves.push_back({std::move(*from), std::move(*to)});
        record.Done.push_back(false);
    }
    return record;
}

std::string SheetDigest(std::string_view bytes) {
    // 64-bit FNV-1a.
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : bytes) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    }
    std::string digits(kDigestLength, '0');
    for (std::size_t i = kDigestLength; i-- > 0; hash >>= 4) {
        digits[i] = "0123456789abcdef"[hash & 0xf];
    }
    return digits;
}

bool IsRecordableName(std::string_view name) {
    if (name.empty() || name.find_first_of("\\:") != std::string_view::npos ||
        name.find('\0') != std::string_view::npos) {
        return false;
    }
    std::size_t start = 0;
    for (;;) {
        const std::size_t slash = name.find('/', start);
        const std::string_view part =
            name.substr(start, slash == std::string_view::npos ? name.npos : slash - start);
        if (part.empty() || part == "." || part == "..") {
            return false;
        }
        if (slash == std::string_view::npos) {
            return true;
        }
        start = slash + 1;
    }
}

MoveRecord ReadMoveRecord(SheetStorage& storage, const std::string& sheetPath) {
    const std::string recordPath = MoveRecordPathOf(sheetPath);
    const std::optional<std::string> bytes =
        storage.ReadFile(recordPath, TextBuffer::kLargestSheet, FinalLink::Refuse);
    if (!bytes) {
        return {};
    }
    std::optional<MoveRecord> record = DecodeMoveRecord(*bytes);
    if (!record) {
        throw Error(Localized("\"%s\" is no record of moves", {recordPath}), sheetPath);
    }
    for (const PlannedMove& move : record->Moves) {
        for (const std::string* name : {&move.From, &move.To}) {
            if (!IsRecordableName(*name)) {
                throw Error(Localized("\"%s\" names \"%s\", which is no file of the sheet's folder",
                                      {recordPath, *name}),
                            sheetPath);
            }
        }
    }
    return std::move(*record);
}

void NoteSheetInRecord(SheetStorage& storage, const std::string& sheetPath, std::string_view sheetBytes) {
    MoveRecord record;
    try {
        record = ReadMoveRecord(storage, sheetPath);
    } catch (const Error&) {
        // Not ours: left as it is, and refused whole by a restore.
        return;
    }
    record.Sheet = SheetDigest(sheetBytes);
    const std::string recordPath = MoveRecordPathOf(sheetPath);
    try {
        if (record.Moves.empty()) {
            // A record of the digest alone goes down as the backup does, before the sheet is replaced.
            storage.WriteBackup(recordPath, EncodeRecord(record), sheetPath);
        } else {
            storage.WriteMoveRecord(recordPath, EncodeRecord(record), sheetPath);
        }
    } catch (const Error&) {
    }
}

} // namespace velmora
