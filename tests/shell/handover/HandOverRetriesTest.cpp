#include "shell/handover/HandOverRetries.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace velmora {
namespace {

using namespace std::chrono_literals;
using Clock = HandOverRetries::Clock;

struct Try {
    HandOverAnswer Answer;
    std::chrono::milliseconds At; // since the start
    RetryStep Expected;
};

TEST(HandOverRetriesTest, DecidesEachTryByItsAnswerAndThePatienceLeft) {
    const std::string late = "the running Velmora did not take hand-overs within 1000 ms";
    struct Case {
        const char* Name;
        std::vector<Try> Tries;
        std::string Why;
    };
    const Case cases[] = {
        {"delivered at once", {{HandOverAnswer::Delivered, 0ms, RetryStep::Done}}, ""},
        {"nobody listens yet, then delivered",
         {{HandOverAnswer::NoWindow, 0ms, RetryStep::PauseThenClaim},
          {HandOverAnswer::NoWindow, 999ms, RetryStep::PauseThenClaim},
          {HandOverAnswer::Delivered, 999ms, RetryStep::Done}},
         ""},
        {"nobody listens within the patience",
         {{HandOverAnswer::NoWindow, 500ms, RetryStep::PauseThenClaim},
          {HandOverAnswer::NoWindow, 1000ms, RetryStep::GiveUp}},
         late},
        {"a window that went away gives the next one the whole patience again",
         {{HandOverAnswer::NoWindow, 900ms, RetryStep::PauseThenClaim},
          {HandOverAnswer::Broken, 950ms, RetryStep::ClaimAgain},
          {HandOverAnswer::NoWindow, 1900ms, RetryStep::PauseThenClaim},
          {HandOverAnswer::NoWindow, 1950ms, RetryStep::GiveUp}},
         late},
    };
    for (const Case& c : cases) {
        const Clock::time_point start{};
        HandOverRetries retries(1000ms, start);
        for (const Try& t : c.Tries) {
            EXPECT_EQ(retries.After(t.Answer, start + t.At), t.Expected) << c.Name << " at " << t.At.count();
        }
        EXPECT_EQ(retries.Why(), c.Why) << c.Name;
    }
}

TEST(HandOverRetriesTest, GivesUpOnAWindowThatKeepsGoingAway) {
    HandOverRetries retries(1000ms, Clock::time_point{});
    for (int i = 0; i < HandOverRetries::kMostBreaks; ++i) {
        ASSERT_EQ(retries.After(HandOverAnswer::Broken, Clock::time_point{}), RetryStep::ClaimAgain) << i;
    }
    EXPECT_EQ(retries.After(HandOverAnswer::Broken, Clock::time_point{}), RetryStep::GiveUp);
    EXPECT_EQ(retries.Why(), "the running window went away 21 times");
}

TEST(HandOverRetriesTest, TheLoopEndsWithTheStatusItsLastTryEarned) {
    struct Case {
        const char* Name;
        std::vector<bool> Claims;
        std::vector<HandOverAnswer> Answers;
        int Status;
        std::string Why;
    };
    const Case cases[] = {
        {"claims the mark", {true}, {}, 0, ""},
        {"claims after the window went away", {false, true}, {HandOverAnswer::Broken}, 0, ""},
        {"delivered", {false}, {HandOverAnswer::Delivered}, 0, ""},
        {"nobody listens",
         {false},
         {HandOverAnswer::NoWindow},
         1,
         "the running Velmora did not take hand-overs within 0 ms"},
    };
    enum class Shells { NoWindow, Delivered, Broken };
    for (const Case& c : cases) {
        std::size_t claims = 0;
        std::size_t answers = 0;
        std::string why;
        const int status = ClaimOrHandOverWith({[&] { return c.Claims.at(claims++); },
                                                [&] { return c.Answers.at(answers++); },
                                                [&](const std::string& said) {
                                                    why = said;
                                                }},
                                               0ms);
        EXPECT_EQ(status, c.Status) << c.Name;
        EXPECT_EQ(why, c.Why) << c.Name;
        EXPECT_EQ(claims, c.Claims.size()) << c.Name;
        EXPECT_EQ(answers, c.Answers.size()) << c.Name;
    }
    EXPECT_EQ(AnswerOf(Shells::Broken), HandOverAnswer::Broken);
    EXPECT_EQ(AnswerOf(Shells::Delivered), HandOverAnswer::Delivered);
    EXPECT_EQ(AnswerOf(Shells::NoWindow), HandOverAnswer::NoWindow);
}

} // namespace
} // namespace velmora
