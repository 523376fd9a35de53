#include "TerminalHost.h"

#include <chrono>

namespace velmora::fix {

TerminalHost::TerminalHost(std::optional<std::string> binAnswer, std::optional<std::string> audioAnswer,
                           bool takeSingleCandidate)
    : binAnswer_(std::move(binAnswer)), audioAnswer_(std::move(audioAnswer)),
      takeSingleCandidate_(takeSingleCandidate) {}

void TerminalHost::BeginRun() {
    rows_.clear();
    warnings_.clear();
}

std::optional<std::string> TerminalHost::ChooseFile(const FileFilterList& filters, const std::string&) {
    // Image sheets ask for "*.bin" files; every other chooser is the audio one.
    for (const FileFilter& filter : filters)
        if (filter.Pattern == "*.bin")
            return binAnswer_;
    return audioAnswer_;
}

std::optional<std::string> TerminalHost::ChooseReferencedFile(const FileRequest& request) {
    if (takeSingleCandidate_ && request.Candidates.size() == 1)
        return request.Candidates.front();
    return ChooseFile(request.Filters, request.InitialFolder);
}

std::uint32_t TerminalHost::TickCount() {
    const auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count());
}

} // namespace velmora::fix
