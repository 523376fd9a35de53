#include "shell/SecondStart.h"

#include "platform/HandOverClient.h"

#include <cstdlib>
#include <thread>

namespace velmora {

namespace {

constexpr std::chrono::milliseconds kRetryPause{25};
// A window that keeps dying on the handed-over sheets should not be restarted forever.
constexpr int kMostBreaks = 20;

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
    auto deadline = std::chrono::steady_clock::now() + patience;
    int breaks = 0;
    for (;;) {
        if (auto mark = InstanceMark::Acquire(folder)) {
            return StartDecision{std::move(mark), 0};
        }
        switch (HandOver(folder, path)) {
        case HandOverResult::Delivered:
            return StartDecision{};
        case HandOverResult::Broken:
            if (++breaks > kMostBreaks) {
                SayWhy(errors, path, "the running window went away " + std::to_string(breaks) + " times");
                return StartDecision{nullptr, 1};
            }
            // Whoever takes the mark next needs the time to start that the first one had.
            deadline = std::chrono::steady_clock::now() + patience;
            break;
        case HandOverResult::NoWindow:
            if (std::chrono::steady_clock::now() >= deadline) {
                SayWhy(errors, path,
                       "the running Velmora did not take hand-overs within " +
                           std::to_string(patience.count()) + " ms");
                return StartDecision{nullptr, 1};
            }
            std::this_thread::sleep_for(kRetryPause);
            break;
        }
    }
}

std::chrono::milliseconds HandOverPatience() {
    if (const char* value = std::getenv("VELMORA_HANDOVER_PATIENCE"); value != nullptr && *value != '\0') {
        char* end = nullptr;
        const double seconds = std::strtod(value, &end);
        if (*end == '\0' && seconds >= 0) {
            return std::chrono::milliseconds(static_cast<long long>(seconds * 1000));
        }
    }
    return std::chrono::seconds(30);
}

} // namespace velmora
