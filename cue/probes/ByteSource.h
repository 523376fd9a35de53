#pragma once

#include "cue/probes/ReadOnlyFile.h"
#include "messages/Messages.h"

#include <cstdint>
#include <map>
#include <string>

namespace velmora {

// The bytes of a file as the header probes read them: in pieces of a page that are kept, as a probe
// goes back over the same headers several times and each visit would be a system call.
//
// Headers lie near the ends of a file, and a length is read at the cost of a header whatever the file's
// size: at most kReadBudget bytes are ever read and kept. Past that, the file reads as ended and
// WentTooDeep() says so, as nothing read after it can be believed.
class ByteSource {
public:
    static constexpr std::uint64_t kReadBudget = std::uint64_t{2} << 20;

    explicit ByteSource(const std::string& path) : file_(path) {}

    bool IsOpen() const { return file_.IsOpen(); }
    std::uint64_t Size() const { return file_.Size(); }

    // Copies up to `count` bytes from `offset` into `out`, from the kept pieces; fewer at the end of the
    // file or once the budget is spent.
    std::size_t ReadAt(std::uint64_t offset, char* out, std::size_t count);

    // True once a read asked for more than the budget allows; the reason a length is then unknown.
    bool WentTooDeep() const { return wentTooDeep_; }
    static constexpr const char* kTooDeep =
        ForCatalogue("its length lies deeper in the file than a header is read");
    // Says that a reader wanted more than the budget allows, though it did not ask for it.
    void MarkTooDeep() { wentTooDeep_ = true; }

private:
    // The piece `index` of the file, read on first use; shorter at the end of the file. Nothing when
    // the budget is spent.
    const std::string* Piece(std::uint64_t index);
    // Reads the pieces from `first` to `last` that are not kept yet, each run of them at once, as far as
    // the budget allows.
    void ReadMissing(std::uint64_t first, std::uint64_t last);

    ReadOnlyFile file_;
    std::map<std::uint64_t, std::string> pieces_;
    bool wentTooDeep_ = false;
};

} // namespace velmora
