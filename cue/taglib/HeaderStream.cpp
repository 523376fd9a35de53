#include "cue/taglib/HeaderStream.h"

#include <algorithm>

namespace velmora {

TagLib::ByteVector HeaderStream::readBlock(unsigned long length) {
    // Past the budget nothing read can be believed, and TagLib may scan a whole file a kilobyte at a
    // time: each of its reads ends at once.
    if (bytes_.WentTooDeep()) {
        return {};
    }
    const std::uint64_t size = bytes_.Size();
    // No block is larger than the budget, whatever size a header claims for it.
    const std::uint64_t wanted =
        std::min<std::uint64_t>({length, size > position_ ? size - position_ : 0, ByteSource::kReadBudget});
    if (wanted < length && position_ + wanted < size) {
        bytes_.MarkTooDeep();
    }
    // One block of the final size, filled in place: appending piece by piece would copy it twice.
    TagLib::ByteVector block(static_cast<unsigned int>(wanted), '\0');
    const std::size_t read = bytes_.ReadAt(position_, block.data(), block.size());
    block.resize(static_cast<unsigned int>(read));
    position_ += read;
    return block;
}

void HeaderStream::seek(long offset, Position from) {
    const long base = from == Beginning ? 0
                      : from == Current ? static_cast<long>(position_)
                                        : static_cast<long>(bytes_.Size());
    position_ = static_cast<std::uint64_t>(std::max(0L, base + offset));
}

} // namespace velmora
