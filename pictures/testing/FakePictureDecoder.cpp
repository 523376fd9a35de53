#include "pictures/testing/FakePictureDecoder.h"

#include "pictures/BitmapPicture.h"
#include "text/AsciiCase.h"

#include <algorithm>

namespace velmora::testkit {

namespace {

class HeldBlock final : public PictureStream {
public:
    explicit HeldBlock(std::vector<std::uint8_t> block) : Bytes(std::move(block)) {}
    std::vector<std::uint8_t> Bytes;
};

} // namespace

PictureDecoder::OpenedStream FakePictureDecoder::OpenStream(std::vector<std::uint8_t> block) {
    LastBlock = block;
    ++OpenCount;
    switch (NextAnswer) {
    case Answer::FailStream:
        return {};
    case Answer::NoStream:
        return {true, nullptr};
    default:
        return {true, std::make_unique<HeldBlock>(std::move(block))};
    }
}

PictureDecoder::Decoded FakePictureDecoder::Decode(PictureStream& stream) {
    if (NextAnswer == Answer::Reject || dynamic_cast<HeldBlock&>(stream).Bytes.empty()) {
        return {};
    }
    if (NextAnswer == Answer::NoPicture) {
        return {true, nullptr};
    }
    return {true, BitmapPicture::AtScreenResolution(Bitmap(PictureWidth, PictureHeight, Colour))};
}

std::optional<std::vector<std::uint8_t>> FakeResourceLibrary::FindResource(std::string_view name) const {
    // As the program's resources: the name as written first, then without regard to case.
    auto found = std::find_if(Entries.begin(), Entries.end(),
                              [name](const auto& entry) { return entry.first == name; });
    if (found == Entries.end()) {
        found = std::find_if(Entries.begin(), Entries.end(), [name](const auto& entry) {
            return UpperAscii(entry.first) == UpperAscii(name);
        });
    }
    if (found == Entries.end()) {
        return std::nullopt;
    }
    return found->second;
}

} // namespace velmora::testkit
