#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace velmora::fix {

struct FixOptions {
    // Answers to the choosers, each used once, in order, by the next question of its kind.
    std::vector<std::string> BinAnswers;
    std::vector<std::string> AudioAnswers;
    bool Auto = false;
    bool DryRun = false;
    bool Recursive = false;
    bool Json = false;
    bool Quiet = false;
    bool Help = false;
    bool Version = false;
    std::vector<std::string> Paths;
};

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads the arguments after the program name. Throws UsageError for an unknown option, an option
// without its value, or no PATH (unless --help or --version is asked for).
FixOptions ParseArguments(const std::vector<std::string>& arguments);

std::string UsageText();

} // namespace velmora::fix
