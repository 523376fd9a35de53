#include "cue/repair/MoveRecord.h"

#include "cue/text/TextBuffer.h"
#include "errors/ErrorMessages.h"

#include <charconv>

namespace velmora {
namespace {

constexpr std::string_view kHeader = "Velmora moves\n";

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

std::string EncodeMoveRecord(const std::vector<PlannedMove>& moves) {
    std::string bytes(kHeader);
    for (const PlannedMove& move : moves) {
        AppendPath(bytes, move.From);
        AppendPath(bytes, move.To);
    }
    return bytes;
}

std::optional<std::vector<PlannedMove>> DecodeMoveRecord(std::string_view bytes) {
    if (bytes.substr(0, kHeader.size()) != kHeader) {
        return std::nullopt;
    }
    bytes.remove_prefix(kHeader.size());
    std::vector<PlannedMove> moves;
    while (!bytes.empty()) {
        std::optional<std::string> from = TakePath(bytes);
        std::optional<std::string> to = from ? TakePath(bytes) : std::nullopt;
        if (!to) {
            return std::nullopt;
        }
        moves.push_back({std::move(*from), std::move(*to)});
    }
    return moves;
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

std::vector<PlannedMove> ReadMoveRecord(SheetStorage& storage, const std::string& sheetPath) {
    const std::string recordPath = MoveRecordPathOf(sheetPath);
    const std::optional<std::string> bytes =
        storage.ReadFile(recordPath, TextBuffer::kLargestSheet, FinalLink::Refuse);
    if (!bytes) {
        return {};
    }
    std::optional<std::vector<PlannedMove>> moves = DecodeMoveRecord(*bytes);
    if (!moves) {
        throw Error("\"" + recordPath + "\" is no record of moves", sheetPath);
    }
    for (const PlannedMove& move : *moves) {
        for (const std::string* name : {&move.From, &move.To}) {
            if (!IsRecordableName(*name)) {
                throw Error("\"" + recordPath + "\" names \"" + *name +
                                "\", which is no file of the sheet's folder",
                            sheetPath);
            }
        }
    }
    return std::move(*moves);
}

} // namespace velmora
