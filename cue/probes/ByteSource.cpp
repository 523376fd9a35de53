#include "cue/probes/ByteSource.h"

#include <algorithm>

namespace velmora {
namespace {

// Runs start and end on pages: the headers of most files lie in their first one, and a page costs no
// more to read than a few bytes of it.
constexpr std::uint64_t kPageSize = 4096;

} // namespace

const ByteSource::Run* ByteSource::Holding(std::uint64_t offset, std::uint64_t end) const {
    // The run read last is the one most often read again.
    for (auto run = runs_.rbegin(); run != runs_.rend(); ++run) {
        if (run->Start <= offset && end <= run->Start + run->Count) {
            return &*run;
        }
    }
    return nullptr;
}

std::string_view ByteSource::View(std::uint64_t offset, std::size_t count) {
    if (!IsOpen() || offset >= Size() || count == 0) {
        return {};
    }
    const std::uint64_t end = std::min<std::uint64_t>(offset + count, Size());
    const Run* run = Holding(offset, end);
    if (run == nullptr) {
        const std::uint64_t start = offset / kPageSize * kPageSize;
        // To the end of the file and no further: a read past it is another system call, for nothing.
        const std::uint64_t wanted = std::min((end + kPageSize - 1) / kPageSize * kPageSize, Size()) - start;
        const std::uint64_t room = kReadBudget - kept_;
        if (wanted > room) {
            wentTooDeep_ = true;
        }
        const std::uint64_t length = wanted <= room ? wanted : room / kPageSize * kPageSize;
        if (length == 0) {
            return {};
        }
        Run read{start, 0, std::make_unique_for_overwrite<char[]>(static_cast<std::size_t>(length))};
        read.Count = file_.ReadAt(start, read.Bytes.get(), static_cast<std::size_t>(length));
        kept_ += length;
        runs_.push_back(std::move(read));
        run = &runs_.back();
    }
    const std::uint64_t within = offset - run->Start;
    if (within >= run->Count) {
        return {};
    }
    return {run->Bytes.get() + within,
            static_cast<std::size_t>(std::min<std::uint64_t>(end - offset, run->Count - within))};
}

std::size_t ByteSource::ReadAt(std::uint64_t offset, char* out, std::size_t count) {
    const std::string_view bytes = View(offset, count);
    std::copy(bytes.begin(), bytes.end(), out);
    return bytes.size();
}

} // namespace velmora
