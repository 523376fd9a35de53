#pragma once

#include "cue/probes/ReadOnlyFile.h"
#include "messages/Messages.h"

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace velmora {

// The bytes of a file as the header probes read them: in runs of whole pages that are kept, as a probe
// goes back over the same headers several times and each visit would be a system call.
//
// Headers lie near the ends of a file, and a length is read at the cost of a header whatever the file's
// size: at most kReadBudget bytes are ever read and kept. Past that, the file reads as ended and
// WentTooDeep() says so, as nothing read after it can be believed.
class ByteSource {
public:
    static constexpr std::uint64_t kReadBudget = std::uint64_t{2} << 20;

    explicit ByteSource(const std::string& path) : file_(path) {}
    // The bytes of a file another reader holds open (see ReadOnlyFile).
    ByteSource(std::intptr_t handle, std::uint64_t size) : file_(handle, size) {}

    bool IsOpen() const { return file_.IsOpen(); }
    std::uint64_t Size() const { return file_.Size(); }
    std::intptr_t Handle() const { return file_.Handle(); }

    // The `count` bytes from `offset`, read at once when they are not kept yet; fewer at the end of the
    // file or once the budget is spent. Valid until the source is destroyed.
    std::string_view View(std::uint64_t offset, std::size_t count);
    // Copies the bytes View() gives into `out`, and says how many there were.
    std::size_t ReadAt(std::uint64_t offset, char* out, std::size_t count);

    // True once a read asked for more than the budget allows; the reason a length is then unknown.
    bool WentTooDeep() const { return wentTooDeep_; }
    static constexpr const char* kTooDeep =
        ForCatalogue("its length lies deeper in the file than a header is read");
    // Says that a reader wanted more than the budget allows, though it did not ask for it.
    void MarkTooDeep() { wentTooDeep_ = true; }

private:
    struct Run {
        std::uint64_t Start = 0;
        std::size_t Count = 0;
        std::unique_ptr<char[]> Bytes;
    };

    // The kept run that holds all of [offset, end), or nothing.
    const Run* Holding(std::uint64_t offset, std::uint64_t end) const;

    ReadOnlyFile file_;
    std::vector<Run> runs_;
    std::uint64_t kept_ = 0;
    bool wentTooDeep_ = false;
};

} // namespace velmora
