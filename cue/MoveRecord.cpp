#include "cue/MoveRecord.h"

#include "cue/TextBuffer.h"
#include "errors/ErrorMessages.h"
#include "files/posix/FileDescriptor.h"

#include <cerrno>
#include <charconv>
#include <fcntl.h>
#include <sys/stat.h>

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

std::optional<std::string> ReadRegularFile(const std::string& path, std::size_t limit) {
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    if (file.get() < 0) {
        if (errno == ENOENT) {
            return std::nullopt;
        }
        throw Error(CannotOpenMessage(path, errno == ELOOP ? EINVAL : errno));
    }
    struct stat info {};
    if (::fstat(file.get(), &info) != 0) {
        throw Error(CannotOpenMessage(path, errno));
    }
    if (!S_ISREG(info.st_mode)) {
        throw Error(CannotOpenMessage(path, S_ISDIR(info.st_mode) ? EISDIR : EINVAL));
    }
    if (static_cast<std::uint64_t>(info.st_size) > limit) {
        throw Error(CannotOpenMessage(path, EFBIG));
    }
    std::string bytes;
    char chunk[65536];
    for (;;) {
        const ssize_t count = ::read(file.get(), chunk, sizeof chunk);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            throw Error(CannotOpenMessage(path, errno));
        }
        if (count == 0) {
            break;
        }
        bytes.append(chunk, static_cast<std::size_t>(count));
        if (bytes.size() > limit) {
            throw Error(CannotOpenMessage(path, EFBIG));
        }
    }
    return bytes;
}

void RecordMoves(const std::string& sheetPath, const std::vector<PlannedMove>& moves, RepairHost& host) {
    const std::string recordPath = MoveRecordPathOf(sheetPath);
    std::vector<PlannedMove> recorded;
    // A record that cannot be read is replaced: it could not have been put back anyway.
    try {
        if (const std::optional<std::string> bytes = ReadRegularFile(recordPath, TextBuffer::kLargestSheet)) {
            recorded = DecodeMoveRecord(*bytes).value_or(std::vector<PlannedMove>());
        }
    } catch (const Error&) {
        recorded.clear();
    }
    recorded.insert(recorded.end(), moves.begin(), moves.end());
    host.WriteMoveRecord(recordPath, EncodeMoveRecord(recorded), sheetPath);
}

} // namespace velmora
