#pragma once

#include "pictures/PictureDecoder.h"

#include <cstdint>
#include <vector>

namespace velmora::testkit {

// A decoder that records the bytes it is handed and answers as a test tells it to. By default it
// accepts any block that is not empty and gives a picture of PictureWidth x PictureHeight pixels (at
// 96 per inch) whose pixels are all Colour.
class FakePictureDecoder final : public PictureDecoder {
public:
    enum class Answer { Accept, FailStream, NoStream, Reject, NoPicture };

    OpenedStream OpenStream(std::vector<std::uint8_t> block) override;
    Decoded Decode(PictureStream& stream) override;

    Answer NextAnswer = Answer::Accept;
    std::int32_t PictureWidth = 16;
    std::int32_t PictureHeight = 8;
    std::uint32_t Colour = 0xFF102030;

    // The block last handed to OpenStream, and how many have been.
    std::vector<std::uint8_t> LastBlock;
    int OpenCount = 0;
};

// Resources held in memory by name, found without regard to case.
class FakeResourceLibrary final : public ResourceLibrary {
public:
    std::optional<std::vector<std::uint8_t>> FindResource(std::string_view name) const override;

    std::vector<std::pair<std::string, std::vector<std::uint8_t>>> Entries;
};

} // namespace velmora::testkit
