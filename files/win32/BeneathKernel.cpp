#include "files/BeneathKernel.h"

namespace velmora {

// Windows has no resolution beneath a handle; the walk, which sees reparse points as links, answers.
std::optional<int> KernelRefusalBeneath(const std::string&, const std::string&, const std::string&) {
    return std::nullopt;
}

} // namespace velmora
