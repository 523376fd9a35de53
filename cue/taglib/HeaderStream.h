#pragma once

#include "cue/probes/ByteSource.h"

// clang-format off
#include <tiostream.h>
// clang-format on

namespace velmora {

// A file's bytes as TagLib reads them, never written. TagLib's own stream opens files for writing, and
// may read a whole file a kilobyte at a time; this one reads through the bounded byte source.
class HeaderStream final : public TagLib::IOStream {
public:
    HeaderStream(ByteSource& bytes, std::string path) : bytes_(bytes), path_(std::move(path)) {}

    TagLib::FileName name() const override { return path_.c_str(); }
    TagLib::ByteVector readBlock(unsigned long length) override;
    // Nothing is ever written.
    void writeBlock(const TagLib::ByteVector&) override {}
    void insert(const TagLib::ByteVector&, unsigned long, unsigned long) override {}
    void removeBlock(unsigned long, unsigned long) override {}
    void truncate(long) override {}
    bool readOnly() const override { return true; }
    bool isOpen() const override { return bytes_.IsOpen(); }
    void seek(long offset, Position from = Beginning) override;
    long tell() const override { return static_cast<long>(position_); }
    long length() override { return static_cast<long>(bytes_.Size()); }

private:
    ByteSource& bytes_;
    std::string path_;
    std::uint64_t position_ = 0;
};

} // namespace velmora
