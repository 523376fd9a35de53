#include "TestSupport.h"

namespace velmora::testing {

void RecordingHost::PumpEvents() {
    ++pumps;
    if (onPump)
        onPump();
}

std::optional<std::string> RecordingHost::ChooseFile(const FileFilterList& filters,
                                                     const std::string& initialFolder) {
    const std::size_t call = chooserCalls.size();
    chooserCalls.push_back({filters, initialFolder});
    return call < chooserAnswers.size() ? chooserAnswers[call] : std::nullopt;
}

std::optional<std::string> RecordingHost::ChooseReferencedFile(const FileRequest& request) {
    requests.push_back(request);
    if (takeSingleCandidate && request.Candidates.size() == 1)
        return request.Candidates.front();
    return ChooseFile(request.Filters, request.InitialFolder);
}

std::uint32_t RecordingHost::TickCount() {
    const std::uint32_t now = tick;
    tick += tickStep;
    return now;
}

std::error_code RecordingHost::MoveFile(const std::string& from, const std::string& to) {
    moves.emplace_back(from, to);
    return MoveFileNoReplace(from, to);
}

} // namespace velmora::testing
