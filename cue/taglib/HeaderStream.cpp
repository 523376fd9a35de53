#include "cue/taglib/HeaderStream.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {
namespace {

// A page: the headers of most files lie in their first one, and copying more from the page cache costs
// more than another read when a header goes on.
constexpr std::uint64_t kPieceSize = 4096;

} // namespace

HeaderStream::HeaderStream(std::string path) : path_(std::move(path)) {
    // O_NONBLOCK keeps a FIFO from blocking the open; it is refused below as no regular file.
    fd_ = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat info {};
    if (fd_ >= 0 && (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode))) {
        ::close(fd_);
        fd_ = -1;
    }
    size_ = fd_ >= 0 ? static_cast<std::uint64_t>(info.st_size) : 0;
}

HeaderStream::~HeaderStream() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

const std::string* HeaderStream::Piece(std::uint64_t index) {
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
    std::size_t filled = 0;
    while (filled < kPieceSize) {
        const ssize_t count = ::pread(fd_, piece.data() + filled, kPieceSize - filled,
                                      static_cast<off_t>(index * kPieceSize + filled));
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            break;
        }
        filled += static_cast<std::size_t>(count);
    }
    piece.resize(filled);
    return &piece;
}

std::size_t HeaderStream::ReadAt(std::uint64_t offset, char* out, std::size_t count) {
    if (fd_ < 0) {
        return 0;
    }
    std::size_t copied = 0;
    while (copied < count && offset < size_) {
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

TagLib::ByteVector HeaderStream::readBlock(unsigned long length) {
    // Past the budget nothing read can be believed, and TagLib may scan a whole file a kilobyte at a
    // time: each of its reads ends at once.
    if (wentTooDeep_) {
        return {};
    }
    // No block is larger than the budget, whatever size a header claims for it.
    const std::uint64_t wanted =
        std::min<std::uint64_t>({length, size_ > position_ ? size_ - position_ : 0, kReadBudget});
    if (wanted < length && position_ + wanted < size_) {
        wentTooDeep_ = true;
    }
    // One block of the final size, filled in place: appending piece by piece would copy it twice.
    TagLib::ByteVector block(static_cast<unsigned int>(wanted), '\0');
    const std::size_t read = ReadAt(position_, block.data(), block.size());
    block.resize(static_cast<unsigned int>(read));
    position_ += read;
    return block;
}

void HeaderStream::seek(long offset, Position from) {
    const long base = from == Beginning ? 0
                      : from == Current ? static_cast<long>(position_)
                                        : static_cast<long>(size_);
    position_ = static_cast<std::uint64_t>(std::max(0L, base + offset));
}

} // namespace velmora
