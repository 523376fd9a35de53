#pragma once

// clang-format off
#include <tiostream.h>
// clang-format on

#include <cstdint>
#include <map>
#include <string>

namespace velmora {

// A file as TagLib reads it, opened for reading only (TagLib's own stream opens files for writing,
// which tells every watcher of the music folder that the file changed) and read in pieces of a page that
// are kept: TagLib goes back over the same headers several times, and each visit would be a system
// call. A path that is no regular file does not open.
//
// Headers lie near the ends of a file, and a length is read at the cost of a header whatever the file's
// size: at most kReadBudget bytes are ever read and kept. Past that, the file reads as ended and
// WentTooDeep() says so, as nothing read after it can be believed.
class HeaderStream final : public TagLib::IOStream {
public:
    static constexpr std::uint64_t kReadBudget = std::uint64_t{2} << 20;

    explicit HeaderStream(std::string path);
    ~HeaderStream() override;
    HeaderStream(const HeaderStream&) = delete;
    HeaderStream& operator=(const HeaderStream&) = delete;

    TagLib::FileName name() const override { return path_.c_str(); }
    TagLib::ByteVector readBlock(unsigned long length) override;
    // Nothing is ever written.
    void writeBlock(const TagLib::ByteVector&) override {}
    void insert(const TagLib::ByteVector&, unsigned long, unsigned long) override {}
    void removeBlock(unsigned long, unsigned long) override {}
    void truncate(long) override {}
    bool readOnly() const override { return true; }
    bool isOpen() const override { return fd_ >= 0; }
    void seek(long offset, Position from = Beginning) override;
    long tell() const override { return static_cast<long>(position_); }
    long length() override { return static_cast<long>(size_); }

    // Copies up to `count` bytes from `offset` into `out`, from the kept pieces; fewer at the end of the
    // file. The position TagLib reads from stays where it was.
    std::size_t ReadAt(std::uint64_t offset, char* out, std::size_t count);

    // True once a read asked for more than the budget allows.
    bool WentTooDeep() const { return wentTooDeep_; }

private:
    // The piece `index` of the file, read on first use; shorter at the end of the file. Nothing when
    // the budget is spent.
    const std::string* Piece(std::uint64_t index);

    std::string path_;
    int fd_ = -1;
    std::uint64_t size_ = 0;
    std::uint64_t position_ = 0;
    std::map<std::uint64_t, std::string> pieces_;
    bool wentTooDeep_ = false;
};

} // namespace velmora
