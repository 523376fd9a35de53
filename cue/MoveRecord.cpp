#include "cue/MoveRecord.h"

#include "cue/TextBuffer.h"
#include "errors/ErrorMessages.h"
#include "files/FileReading.h"

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

void RecordMoves(const std::string& sheetPath, const std::vector<PlannedMove>& moves, RepairHost& host) {
    const std::string recordPath = MoveRecordPathOf(sheetPath);
    std::vector<PlannedMove> recorded;
    // A record that cannot be read is replaced: it could not have been put back anyway.
    try {
        if (const std::optional<std::string> bytes =
                ReadFileWhole(recordPath, TextBuffer::kLargestSheet, FinalLink::Refuse)) {
            recorded = DecodeMoveRecord(*bytes).value_or(std::vector<PlannedMove>());
        }
    } catch (const Error&) {
        recorded.clear();
    }
    recorded.insert(recorded.end(), moves.begin(), moves.end());
    host.WriteMoveRecord(recordPath, EncodeMoveRecord(recorded), sheetPath);
}

} // namespace velmora
