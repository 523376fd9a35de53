#include "cli/TerminalHost.h"

#include <algorithm>
#include <chrono>

namespace velmora::fix {

TerminalHost::TerminalHost(std::vector<std::string> binAnswers, std::vector<std::string> audioAnswers,
                           bool takeSingleCandidate)
    : binAnswers_(binAnswers.begin(), binAnswers.end()),
      audioAnswers_(audioAnswers.begin(), audioAnswers.end()), takeSingleCandidate_(takeSingleCandidate) {}

void TerminalHost::BeginRun() {
    rows_.clear();
    warnings_.clear();
}

std::optional<std::string> TerminalHost::ChooseFile(const FileFilterList& filters, const std::string&) {
    // Image sheets ask for "*.bin" files; every other chooser is the audio one.
    const bool image = std::any_of(filters.begin(), filters.end(),
                                   [](const FileFilter& filter) { return filter.Pattern == "*.bin"; });
    std::deque<std::string>& answers = image ? binAnswers_ : audioAnswers_;
    if (answers.empty()) {
        return std::nullopt;
    }
    std::string answer = std::move(answers.front());
    answers.pop_front();
    return answer;
}

std::optional<std::string> TerminalHost::ChooseReferencedFile(const FileRequest& request) {
    // Never one known to be too short for the sheet's times; those come last.
    if (takeSingleCandidate_ && request.PlausibleCandidates == 1) {
        return request.Candidates.front();
    }
    return ChooseFile(request.Filters, request.InitialFolder);
}

std::uint32_t TerminalHost::TickCount() {
    const auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count());
}

} // namespace velmora::fix
