#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace velmora::fuzz {

// Hands out the leading bytes of a fuzz input as choices; what is left is the payload. Past the end
// every choice reads as 0, so short inputs still reach the code under test.
class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::uint8_t Byte() { return offset_ < size_ ? data_[offset_++] : 0; }
    bool Bit(std::uint8_t byte, int bit) const { return (byte >> bit & 1) != 0; }
    std::string_view Rest() const {
        return offset_ < size_
                   ? std::string_view(reinterpret_cast<const char*>(data_) + offset_, size_ - offset_)
                   : std::string_view();
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t offset_ = 0;
};

} // namespace velmora::fuzz
