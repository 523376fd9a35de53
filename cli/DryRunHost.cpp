#include "cli/DryRunHost.h"

namespace velmora::fix {

void DryRunHost::BeginRun() {
    TerminalHost::BeginRun();
    storage_.ForgetRunLog();
}

LengthReader* DryRunHost::Lengths() {
    return TerminalHost::Lengths() == nullptr ? nullptr : &movedLengths_;
}

LengthReading DryRunHost::MovedFileLengths::AudioLengthOf(const std::string& path) {
    return host_.TerminalHost::Lengths()->AudioLengthOf(host_.storage_.WherePathLies(path));
}

std::optional<std::uint64_t> DryRunHost::MovedFileLengths::FileSizeOf(const std::string& path) {
    return host_.storage_.FileSize(path);
}

} // namespace velmora::fix
