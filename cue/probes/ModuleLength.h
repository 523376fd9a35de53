#pragma once

#include <cstdint>

// What the TagLib module and the programs that load it pass each other: plain C, so that nothing of
// either side's C++ crosses the boundary.
extern "C" {

struct VelmoraModuleLength {
    std::uint64_t Samples;
    std::uint32_t SampleRate;
    // Why there is no length, when there is a reason; an empty string otherwise.
    char Reason[160];
};

// Fills `out` and answers 1 when the file at `path` (UTF-8) has a length; 0 otherwise. Never throws.
using VelmoraReadLength = int (*)(const char* path, VelmoraModuleLength* out);
// The same, of the file at `path` the program holds open as descriptor `handle`, of `size` bytes; the
// module reads it there and leaves it open.
using VelmoraReadOpenLength = int (*)(const char* path, int handle, std::uint64_t size,
                                      VelmoraModuleLength* out);
}

namespace velmora {

// The file the module is, and the entry it is called through.
inline constexpr const char* kTagLibModuleName = "velmora-taglib.so";
inline constexpr const char* kReadLengthEntry = "velmora_read_length";
inline constexpr const char* kReadOpenLengthEntry = "velmora_read_open_length";

} // namespace velmora
