#pragma once

#include "errors/Error.h"

#include <cstddef>
#include <string_view>

namespace velmora {

inline constexpr std::string_view kCouldNotAllocateImage = "Could not allocate memory for image";
inline constexpr std::string_view kCouldNotCreateImageStream = "Could not create image stream";
inline constexpr std::string_view kEmptyImageStream = "Empty image stream created";
inline constexpr std::string_view kInvalidImageFormat = "Could not load image. Invalid format";
inline constexpr std::string_view kCouldNotLoadImage = "Could not load image";

// The framework's own errors for lists and type casts, in the platform's language.
// Raises the list index error unless 0 <= index < count.
void CheckListIndex(std::ptrdiff_t index, std::ptrdiff_t count);
[[noreturn]] void RaiseInvalidCast();

} // namespace velmora
