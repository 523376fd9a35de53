#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmora {

// A hand-over frame is a 12-byte header (message, wParam, lParam; 32-bit little
// endian) followed, for the path message only, by wParam bytes of path. The
// receiver answers every frame with one byte once it has handled it.
inline constexpr std::uint32_t WM_HANDOVER = 1066;
inline constexpr std::uint32_t WM_SHOWWINDOW = 0x0018;
inline constexpr std::uint32_t SW_SHOWNORMAL = 1;
inline constexpr std::size_t kFrameHeaderSize = 12;
inline constexpr std::uint32_t kMaxHandOverPath = 64 * 1024;
inline constexpr char kFrameAnswer = 'A';

struct HandOverFrame {
    std::uint32_t Message = 0;
    std::uint32_t WParam = 0;
    std::int32_t LParam = 0;
    std::string Path;
};

std::string EncodePathFrame(std::string_view path);
std::string EncodeShowNormalFrame();

// Takes bytes as they come off the socket and hands out whole frames. Anything
// that is not one of our two frames, or a path over kMaxHandOverPath, makes the
// reader fail for good: the connection is to be dropped.
class FrameReader {
public:
    void Append(std::string_view bytes) { buffer_.append(bytes); }
    std::optional<HandOverFrame> Next();
    bool Failed() const { return failed_; }
    // True while some bytes of a frame have arrived but not the whole frame.
    bool Partial() const { return !failed_ && !buffer_.empty(); }
    // Bytes held that no frame handed out yet.
    std::size_t Buffered() const { return buffer_.size(); }

private:
    std::string buffer_;
    bool failed_ = false;
};

} // namespace velmora
