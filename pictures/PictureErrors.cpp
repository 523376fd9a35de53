#include "pictures/PictureErrors.h"

#include <string>

namespace velmora {

void CheckListIndex(std::ptrdiff_t index, std::ptrdiff_t count) {
    if (index < 0 || index >= count) {
        throw Error("Index de liste hors limites (" + std::to_string(index) + ")");
    }
}

void RaiseInvalidCast() {
    throw Error("Transtypage de classe incorrect");
}

} // namespace velmora
