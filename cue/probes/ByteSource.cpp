#include "cue/probes/ByteSource.h"

#include <algorithm>

namespace velmora {
namespace {

// A page: the headers of most files lie in their first one, and copying more from the page cache costs
// more than another read when a header goes on.
constexpr std::uint64_t kPieceSize = 4096;

} // namespace

const std::string* ByteSource::Piece(std::uint64_t index) {
    const auto known = pieces_.find(index);
    if (known != pieces_.end()) {
        return &known->second;
    }
    if ((pieces_.size() + 1) * kPieceSize > kReadBudget) {
        wentTooDeep_ = true;
        return nullptr;
    }
    std::string& piece = pieces_[index];
    piece.resize(kPieceSize);
    piece.resize(file_.ReadAt(index * kPieceSize, piece.data(), kPieceSize));
    return &piece;
}

void ByteSource::ReadMissing(std::uint64_t first, std::uint64_t last) {
    for (std::uint64_t index = first; index <= last; ++index) {
        const std::uint64_t room = kReadBudget / kPieceSize - pieces_.size();
        if (room == 0) {
            return;
        }
        if (pieces_.count(index) != 0) {
            continue;
        }
        std::uint64_t end = index;
        while (end < last && end - index + 1 < room && pieces_.count(end + 1) == 0) {
            ++end;
        }
        std::string run(static_cast<std::size_t>((end - index + 1) * kPieceSize), '\0');
        run.resize(file_.ReadAt(index * kPieceSize, run.data(), run.size()));
        for (std::uint64_t piece = index; piece <= end; ++piece) {
            const std::size_t at = static_cast<std::size_t>((piece - index) * kPieceSize);
            pieces_[piece] = at < run.size() ? run.substr(at, kPieceSize) : std::string();
        }
        index = end;
    }
}

std::size_t ByteSource::ReadAt(std::uint64_t offset, char* out, std::size_t count) {
    if (IsOpen() && count > 0 && offset < Size()) {
        // One read for the pieces a request spans, not one each.
        ReadMissing(offset / kPieceSize, (std::min<std::uint64_t>(offset + count, Size()) - 1) / kPieceSize);
    }
    std::size_t copied = 0;
    while (IsOpen() && copied < count && offset < Size()) {
        const std::string* piece = Piece(offset / kPieceSize);
        const std::uint64_t within = offset % kPieceSize;
        if (piece == nullptr || within >= piece->size()) {
            break;
        }
        const std::size_t part =
            static_cast<std::size_t>(std::min<std::uint64_t>(count - copied, piece->size() - within));
        std::copy_n(piece->data() + within, part, out + copied);
        copied += part;
        offset += part;
    }
    return copied;
}

} // namespace velmora
