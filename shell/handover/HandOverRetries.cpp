#include "shell/handover/HandOverRetries.h"

#include <thread>

namespace velmora {

namespace {

constexpr std::chrono::milliseconds kRetryPause{25};

} // namespace

RetryStep HandOverRetries::After(HandOverAnswer answer, Clock::time_point now) {
    switch (answer) {
    case HandOverAnswer::Delivered:
        return RetryStep::Done;
    case HandOverAnswer::Broken:
        if (++breaks_ > kMostBreaks) {
            why_ = "the running window went away " + std::to_string(breaks_) + " times";
            return RetryStep::GiveUp;
        }
        // Whoever takes the mark next needs the time to start that the first one had.
        deadline_ = now + patience_;
        return RetryStep::ClaimAgain;
    case HandOverAnswer::NoWindow:
        break;
    }
    if (now >= deadline_) {
        why_ =
            "the running Velmora did not take hand-overs within " + std::to_string(patience_.count()) + " ms";
        return RetryStep::GiveUp;
    }
    return RetryStep::PauseThenClaim;
}

int ClaimOrHandOverWith(const HandOverTries& tries, std::chrono::milliseconds patience) {
    HandOverRetries retries(patience, HandOverRetries::Clock::now());
    for (;;) {
        if (tries.Claim()) {
            return 0;
        }
        switch (retries.After(tries.HandOver(), HandOverRetries::Clock::now())) {
        case RetryStep::Done:
            return 0;
        case RetryStep::GiveUp:
            tries.GiveUp(retries.Why());
            return 1;
        case RetryStep::PauseThenClaim:
            std::this_thread::sleep_for(kRetryPause);
            break;
        case RetryStep::ClaimAgain:
            break;
        }
    }
}

} // namespace velmora
