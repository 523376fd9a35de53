#pragma once

#include <cstdint>

namespace velmora {

struct Point {
    std::int32_t X = 0;
    std::int32_t Y = 0;

    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    std::int32_t Width = 0;
    std::int32_t Height = 0;

    friend bool operator==(const Size&, const Size&) = default;
};

// Right and Bottom are exclusive when filling: (0, 0, 2, 2) covers four pixels.
struct Rect {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;

    constexpr std::int32_t Width() const { return Right - Left; }
    constexpr std::int32_t Height() const { return Bottom - Top; }
    constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    constexpr bool Contains(Point p) const {
        return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom;
    }

    constexpr Rect Offset(std::int32_t dx, std::int32_t dy) const {
        return {Left + dx, Top + dy, Right + dx, Bottom + dy};
    }
    constexpr Rect Inflate(std::int32_t dx, std::int32_t dy) const {
        return {Left - dx, Top - dy, Right + dx, Bottom + dy};
    }

    friend bool operator==(const Rect&, const Rect&) = default;
};

// The common part of two rectangles; (0, 0, 0, 0) when they do not overlap.
constexpr Rect Intersection(const Rect& a, const Rect& b) {
    const Rect r{a.Left > b.Left ? a.Left : b.Left, a.Top > b.Top ? a.Top : b.Top,
                 a.Right < b.Right ? a.Right : b.Right, a.Bottom < b.Bottom ? a.Bottom : b.Bottom};
    return r.IsEmpty() ? Rect{} : r;
}

// (a * b) / c rounded half away from zero, computed without overflow; -1 when c is 0.
constexpr std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c) {
    if (c == 0) {
        return -1;
    }
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    const bool negative = (product < 0) != (c < 0);
    const std::int64_t magnitude = product < 0 ? -product : product;
    const std::int64_t divisor = c < 0 ? -static_cast<std::int64_t>(c) : c;
    const std::int64_t quotient = (magnitude + divisor / 2) / divisor;
    return static_cast<std::int32_t>(negative ? -quotient : quotient);
}

} // namespace velmora
