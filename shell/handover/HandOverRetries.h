#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

namespace velmora {

// What one try to hand a sheet to the running window came to.
enum class HandOverAnswer : std::uint8_t {
    NoWindow,  // nobody listens yet
    Delivered, // the sheet's run was answered
    Broken,    // the window went away before answering
};

// Each shell's own result of a hand-over, read by its enumerators' names.
template <class Result> HandOverAnswer AnswerOf(Result result) {
    switch (result) {
    case Result::Delivered:
        return HandOverAnswer::Delivered;
    case Result::Broken:
        return HandOverAnswer::Broken;
    case Result::NoWindow:
        break;
    }
    return HandOverAnswer::NoWindow;
}

enum class RetryStep : std::uint8_t {
    Done,           // delivered: this start ends with 0
    ClaimAgain,     // the window went away: try for the instance mark at once
    PauseThenClaim, // nobody listens yet: wait a little and try again
    GiveUp,         // this start says why and ends with 1
};

// A second start's patience over its tries: a window that goes away gives the next holder of the mark
// the whole patience again, but only so many times, so that a window that keeps dying on the handed
// sheets is not restarted forever.
class HandOverRetries {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr int kMostBreaks = 20;

    HandOverRetries(std::chrono::milliseconds patience, Clock::time_point now)
        : patience_(patience), deadline_(now + patience) {}

    RetryStep After(HandOverAnswer answer, Clock::time_point now);
    // Why the start gave up, once After said GiveUp.
    const std::string& Why() const { return why_; }

private:
    std::chrono::milliseconds patience_;
    Clock::time_point deadline_;
    int breaks_ = 0;
    std::string why_;
};

struct HandOverTries {
    // Takes the instance mark; true when this process is now the window.
    std::function<bool()> Claim;
    std::function<HandOverAnswer()> HandOver;
    std::function<void(const std::string& why)> GiveUp;
};

// Claims the mark or hands over until one of them succeeds or patience runs out; returns the exit status
// of a start that does not become the window (0 once delivered, 1 when it gave up), or 0 when it claimed.
int ClaimOrHandOverWith(const HandOverTries& tries, std::chrono::milliseconds patience);

} // namespace velmora
