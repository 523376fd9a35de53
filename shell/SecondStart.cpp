#include "shell/SecondStart.h"

#include "platform/HandOverClient.h"
#include "shell/handover/HandOverRetries.h"

namespace velmora {

namespace {

void SayWhy(std::ostream& errors, const std::optional<std::string>& path, const std::string& why) {
    errors << "velmora: " << why;
    if (path) {
        errors << "; \"" << *path << "\" was not repaired";
    }
    errors << '\n';
}

} // namespace

std::optional<std::string> HandOverArgument(const std::vector<std::string>& arguments,
                                            const std::string& workingFolder) {
    if (arguments.size() != 1) {
        return std::nullopt;
    }
    const std::string& argument = arguments.front();
    if (argument.empty() || argument.front() == '/' || workingFolder.empty()) {
        return argument;
    }
    return workingFolder.back() == '/' ? workingFolder + argument : workingFolder + "/" + argument;
}

StartDecision ClaimOrHandOver(const std::string& folder, const std::optional<std::string>& path,
                              std::chrono::milliseconds patience, std::ostream& errors) {
    StartDecision decision;
    decision.exitCode =
        ClaimOrHandOverWith({[&] { return (decision.mark = InstanceMark::Acquire(folder)) != nullptr; },
                             [&] { return AnswerOf(HandOver(folder, path)); },
                             [&](const std::string& why) {
                                 SayWhy(errors, path, why);
                             }},
                            patience);
    return decision;
}

} // namespace velmora
