#include "platform/HandOverFrame.h"

namespace velmora {

namespace {

void PutWord(std::string& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<char>((value >> shift) & 0xFFu));
    }
}

std::uint32_t GetWord(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    }
    return value;
}

std::string EncodeHeader(std::uint32_t message, std::uint32_t wParam, std::uint32_t lParam) {
    std::string out;
    PutWord(out, message);
    PutWord(out, wParam);
    PutWord(out, lParam);
    return out;
}

} // namespace

std::string EncodePathFrame(std::string_view path) {
    return EncodeHeader(WM_HANDOVER, static_cast<std::uint32_t>(path.size()), 1).append(path);
}

std::string EncodeShowNormalFrame() {
    return EncodeHeader(WM_SHOWWINDOW, SW_SHOWNORMAL, 0);
}

std::optional<HandOverFrame> FrameReader::Next() {
    if (failed_ || buffer_.size() < kFrameHeaderSize) {
        return std::nullopt;
    }
    HandOverFrame frame;
    frame.Message = GetWord(buffer_, 0);
    frame.WParam = GetWord(buffer_, 4);
    frame.LParam = static_cast<std::int32_t>(GetWord(buffer_, 8));
    std::size_t payload = 0;
    if (frame.Message == WM_HANDOVER && frame.WParam <= kMaxHandOverPath) {
        payload = frame.WParam;
    } else if (frame.Message != WM_SHOWWINDOW || frame.WParam != SW_SHOWNORMAL) {
        failed_ = true;
        buffer_.clear();
        return std::nullopt;
    }
    if (buffer_.size() < kFrameHeaderSize + payload) {
        return std::nullopt;
    }
    frame.Path = buffer_.substr(kFrameHeaderSize, payload);
    buffer_.erase(0, kFrameHeaderSize + payload);
    return frame;
}

} // namespace velmora
