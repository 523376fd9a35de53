#pragma once

#include "cue/lengths/MediaLengths.h"
#include "cue/probes/ByteSource.h"
#include "messages/Messages.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace velmora {

inline std::uint32_t LittleEndian(const unsigned char* bytes, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) {
        value = value << 8 | bytes[i];
    }
    return value;
}

inline std::uint32_t BigEndian(const unsigned char* bytes, int count) {
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i) {
        value = value << 8 | bytes[i];
    }
    return value;
}

// The `N` bytes at `offset`, all of them or nothing.
template <std::size_t N>
bool ReadExactly(ByteSource& stream, std::uint64_t offset, std::array<unsigned char, N>& out) {
    return stream.ReadAt(offset, reinterpret_cast<char*>(out.data()), N) == N;
}

template <std::size_t N>
std::string_view Text(const std::array<unsigned char, N>& bytes, std::size_t at, std::size_t count) {
    return {reinterpret_cast<const char*>(bytes.data()) + at, count};
}

// What a file that has lost its end reads as, whatever its format.
inline LengthReading ShorterThanItsHeader() {
    return LengthReading::Unknown(Localized("the file is shorter than its header says"));
}

} // namespace velmora
