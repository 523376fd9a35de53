// Feeds the input to the hand-over frame reader in slices whose sizes the first byte picks, as a
// peer's bytes come off a socket. A frame handed out is always one of the two frames, with a path
// within the limit; once failed, the reader stays failed.
#include "FuzzInput.h"
#include "platform/HandOverFrame.h"

#include <algorithm>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    velmora::fuzz::FuzzInput input(data, size);
    const std::size_t slice = input.Byte() % 16 + 1;
    std::string_view bytes = input.Rest();

    velmora::FrameReader reader;
    bool failed = false;
    while (!bytes.empty()) {
        const std::size_t take = std::min(slice, bytes.size());
        reader.Append(bytes.substr(0, take));
        bytes.remove_prefix(take);
        while (const std::optional<velmora::HandOverFrame> frame = reader.Next()) {
            if (failed) {
                std::abort();
            }
            const bool isPath =
                frame->Message == velmora::WM_HANDOVER && frame->Path.size() <= velmora::kMaxHandOverPath;
            const bool isShow = frame->Message == velmora::WM_SHOWWINDOW && frame->Path.empty();
            if (!isPath && !isShow) {
                std::abort();
            }
            if (isPath && velmora::EncodePathFrame(frame->Path).size() !=
                              velmora::kFrameHeaderSize + frame->Path.size()) {
                std::abort();
            }
        }
        if (failed && !reader.Failed()) {
            std::abort();
        }
        failed = reader.Failed();
    }
    return 0;
}
