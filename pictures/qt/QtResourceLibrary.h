#pragma once

#include "pictures/PictureDecoder.h"

namespace velmora {

// The program's data resources: the Qt resources under :/rcdata/, names compared without regard to case.
class QtResourceLibrary final : public ResourceLibrary {
public:
    std::optional<std::vector<std::uint8_t>> FindResource(std::string_view name) const override;
};

} // namespace velmora
