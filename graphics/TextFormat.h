#pragma once

#include <cstdint>

namespace velmora {

// Format flags of Canvas::DrawText, with the values and meanings of DrawTextExA.
using TextFormat = std::uint32_t;

inline constexpr TextFormat DT_TOP = 0x0;
inline constexpr TextFormat DT_LEFT = 0x0;
inline constexpr TextFormat DT_CENTER = 0x1;
inline constexpr TextFormat DT_RIGHT = 0x2;
inline constexpr TextFormat DT_VCENTER = 0x4;
inline constexpr TextFormat DT_BOTTOM = 0x8;
inline constexpr TextFormat DT_WORDBREAK = 0x10;
inline constexpr TextFormat DT_SINGLELINE = 0x20;
inline constexpr TextFormat DT_EXPANDTABS = 0x40;
inline constexpr TextFormat DT_NOCLIP = 0x100;
inline constexpr TextFormat DT_EXTERNALLEADING = 0x200;
inline constexpr TextFormat DT_CALCRECT = 0x400;
inline constexpr TextFormat DT_NOPREFIX = 0x800;
inline constexpr TextFormat DT_END_ELLIPSIS = 0x8000;

} // namespace velmora
