#pragma once

#include "cue/text/SheetEncoding.h"

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
    // Every sheet's reasons on standard error, not only a bad one's.
    bool Verbose = false;
    // Only the length checks: nothing is repaired or written.
    bool Check = false;
    // Puts the sheets back as they were before their last repair.
    bool Restore = false;
    // With --restore: a sheet edited since its repair is kept as NAME.cue.edited and restored.
    bool Force = false;
    // Reads the lengths of the files the sheets name (--no-lengths turns it off).
    bool ReadLengths = true;
    // The encoding the sheets are in, for sheets whose bytes do not tell it ("--encoding NAME").
    std::optional<SheetEncoding> Encoding;
    bool Help = false;
    bool Version = false;
    std::vector<std::string> Paths;
};

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads the arguments after the program name. Throws UsageError for an unknown option, an option
// without its value, options that exclude each other (--check or --restore with a repair's options), or
// no PATH (unless --help or --version is asked for), or an encoding it does not know.
FixOptions ParseArguments(const std::vector<std::string>& arguments);

std::string UsageText();

} // namespace velmora::fix
