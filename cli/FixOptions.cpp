#include "FixOptions.h"

namespace velmora::fix {
namespace {

// "--bin FILE" and "--bin=FILE" both give FILE.
bool TakeValue(const std::vector<std::string>& arguments, std::size_t& i, const std::string& name,
               std::optional<std::string>& value) {
    const std::string& argument = arguments[i];
    if (argument == name) {
        if (i + 1 >= arguments.size())
            throw UsageError(name + " needs a FILE");
        value = arguments[++i];
        return true;
    }
    if (argument.rfind(name + "=", 0) == 0) {
        value = argument.substr(name.size() + 1);
        return true;
    }
    return false;
}

} // namespace

FixOptions ParseArguments(const std::vector<std::string>& arguments) {
    FixOptions options;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.empty() || argument[0] != '-' || argument == "-") {
            options.Paths.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--auto") {
            options.Auto = true;
        } else if (argument == "--dry-run") {
            options.DryRun = true;
        } else if (argument == "--recursive") {
            options.Recursive = true;
        } else if (argument == "--json") {
            options.Json = true;
        } else if (argument == "--quiet") {
            options.Quiet = true;
        } else if (argument == "--help") {
            options.Help = true;
        } else if (argument == "--version") {
            options.Version = true;
        } else if (!TakeValue(arguments, i, "--bin", options.BinAnswer) &&
                   !TakeValue(arguments, i, "--audio", options.AudioAnswer)) {
            throw UsageError("unknown option " + argument);
        }
    }
    if (options.Paths.empty() && !options.Help && !options.Version)
        throw UsageError("no PATH given");
    return options;
}

std::string UsageText() {
    return "Usage: velmora-fix [--bin FILE] [--audio FILE] [--auto] [--dry-run] [--recursive] [--json] "
           "[--quiet] "
           "PATH...\n"
           "Repairs CUE sheets: checks the file each sheet names and, for audio sheets, the INDEX 01 times.\n"
           "\n"
           "  --bin FILE     the image file to move beside an image sheet whose image is missing\n"
           "  --audio FILE   the audio file to name in an audio sheet whose file is missing\n"
           "  --auto         take the file found beside the sheet when one rule finds exactly one\n"
           "  --dry-run      change nothing on disk; print the diff of each sheet and the moves\n"
           "  --recursive    a folder stands for every file ending in .cue below it\n"
           "  --json         one JSON object a line for each sheet instead of its row\n"
           "  --quiet        no progress line\n"
           "  --help         this text\n"
           "  --version      the version\n"
           "\n"
           "Exit status: 0 when every sheet was good, corrected, cancelled or skipped; 1 when any was bad\n"
           "or refused with a warning; 2 when any ended with an error.\n";
}

} // namespace velmora::fix
