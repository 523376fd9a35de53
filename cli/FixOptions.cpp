#include "cli/FixOptions.h"

#include "cue/repair/EncodingDecision.h"
#include "messages/Messages.h"

#include <utility>

namespace velmora::fix {
namespace {

// "--bin FILE" and "--bin=FILE" both give FILE.
bool TakeValue(const std::vector<std::string>& arguments, std::size_t& i, const std::string& name,
               std::vector<std::string>& values) {
    const std::string& argument = arguments[i];
    if (argument == name) {
        if (i + 1 >= arguments.size()) {
            throw UsageError(name == "--encoding" ? Localized("%s needs a NAME", {name})
                                                  : Localized("%s needs a FILE", {name}));
        }
        values.push_back(arguments[++i]);
        return true;
    }
    if (argument.rfind(name + "=", 0) == 0) {
        values.push_back(argument.substr(name.size() + 1));
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
        } else if (argument == "--verbose") {
            options.Verbose = true;
        } else if (argument == "--check") {
            options.Check = true;
        } else if (argument == "--restore") {
            options.Restore = true;
        } else if (argument == "--force") {
            options.Force = true;
        } else if (argument == "--no-lengths") {
            options.ReadLengths = false;
        } else if (argument == "--help") {
            options.Help = true;
        } else if (argument == "--version") {
            options.Version = true;
        } else if (std::vector<std::string> encoding; TakeValue(arguments, i, "--encoding", encoding)) {
            options.Encoding = EncodingNamed(encoding.front());
            if (!options.Encoding) {
                throw UsageError(Localized("unknown encoding %s (UTF-8, Windows-1252, Windows-1251, "
                                           "Shift-JIS, GB18030, Big5, EUC-KR)",
                                           {encoding.front()}));
            }
        } else if (!TakeValue(arguments, i, "--bin", options.BinAnswers) &&
                   !TakeValue(arguments, i, "--audio", options.AudioAnswers)) {
            throw UsageError(Localized("unknown option %s", {argument}));
        }
    }
    const bool repairs =
        options.Auto || options.DryRun || !options.BinAnswers.empty() || !options.AudioAnswers.empty();
    if (options.Check && options.Restore) {
        throw UsageError(Localized("--check and --restore exclude each other"));
    }
    if (options.Restore && options.Encoding) {
        throw UsageError(Localized("--restore reads no sheet: --encoding does not go with it"));
    }
    if ((options.Check || options.Restore) && repairs) {
        throw UsageError(
            Localized("%s repairs nothing: --bin, --audio, --auto and --dry-run do not go with it",
                      {options.Check ? "--check" : "--restore"}));
    }
    if (options.Force && !options.Restore) {
        throw UsageError(Localized("--force goes with --restore only"));
    }
    if (options.Check && !options.ReadLengths) {
        throw UsageError(Localized("--check needs the lengths that --no-lengths turns off"));
    }
    if (options.Paths.empty() && !options.Help && !options.Version) {
        throw UsageError(Localized("no PATH given"));
    }
    return options;
}

std::string UsageText() {
    // The command lines and option names are what the user types: only the words around them are
    // translated, each option's text on its own so that its column stays in place.
    std::string text = Localized("Usage:") +
                       " velmora-fix [--bin FILE] [--audio FILE] [--auto] [--dry-run] " +
                       "[--recursive] [--json] [--quiet] PATH...\n"
                       "       velmora-fix [--verbose] [--no-lengths] [--encoding NAME] ... PATH...\n"
                       "       velmora-fix --check [--recursive] [--json] [--verbose] PATH...\n"
                       "       velmora-fix --restore [--force] [--recursive] [--json] PATH...\n";
    text +=
        Localized("Repairs CUE sheets: checks the file each sheet names and, for audio sheets, the INDEX 01 "
                  "times.") +
        "\n\n";
    const std::pair<const char*, const char*> options[] = {
        {"  --bin FILE     ",
         ForCatalogue("the image file to move beside an image sheet whose image is missing; given\n"
                      "                 several times, each answers the next missing image, in "
                      "order")},
        {"  --audio FILE   ",
         ForCatalogue("the audio file to name in an audio sheet whose file is missing; given\n"
                      "                 several times, each answers the next missing audio file, "
                      "in order")},
        {"  --auto         ",
         ForCatalogue("take the file found beside the sheet when one rule finds exactly one (or\n"
                      "                 only one long enough for the sheet's times) and no other "
                      "sheet of the\n"
                      "                 folder names it or carries its name; never one too short "
                      "for the times")},
        {"  --dry-run      ",
         ForCatalogue("change nothing on disk; print the diff of each sheet and the moves")},
        {"  --recursive    ", ForCatalogue("a folder stands for every file ending in .cue below it")},
        {"  --json         ", ForCatalogue("one JSON object a line for each sheet instead of its row")},
        {"  --quiet        ", ForCatalogue("no progress line")},
        {"  --verbose      ", ForCatalogue("what was done to every sheet, on standard error")},
        {"  --no-lengths   ",
         ForCatalogue("do not read how long the audio files last or how large the images are")},
        {"  --encoding NAME  ",
         ForCatalogue("read sheets whose bytes do not tell their encoding in NAME: UTF-8,\n"
                      "                 Windows-1252, Windows-1251, Shift-JIS, GB18030, Big5 "
                      "or EUC-KR")},
        {"  --check        ",
         ForCatalogue("only check that every file holds its sheet's INDEX times; write nothing")},
        {"  --restore      ", ForCatalogue("put each sheet's backup back, and the files its repairs moved")},
        {"  --force        ",
         ForCatalogue(
             "with --restore, also a sheet edited since its repair, its text kept first\n"
             "                 as NAME.cue.edited (or NAME.cue.edited.2, .3... never replacing one)")},
        {"  --help         ", ForCatalogue("this text")},
        {"  --version      ", ForCatalogue("the version")},
    };
    for (const auto& [option, description] : options) {
        text += option + Localized(description) + "\n";
    }
    return text + "\n" +
           Localized(
               "Each PATH gives one line: PATH => GOOD, CORRECTED, BAD, SKIPPED, WARNING or ERROR; why a\n"
               "sheet is bad, warnings and errors go to standard error.\n"
               "A file too short for its sheet's times is reported on standard error; the outcome stays.\n"
               "Exit status: 0 when every sheet was good, corrected or skipped; 1 when any was bad (a file\n"
               "still missing included) or refused with a warning; 2 when any ended with an error.\n"
               "With --check: PATH => FITS, DOES NOT FIT, MISSING or UNCHECKED (no length could be read);\n"
               "1 when any sheet does not fit or misses a file. With --restore: PATH => RESTORED or\n"
               "NO BACKUP; 1 when any sheet had nothing to put back.") +
           "\n" +
           Localized("With --restore, a sheet edited since its repair gives CHANGED and is not put back\n"
                     "without --force; it counts as one with nothing to put back.") +
           "\n" +
           Localized("Outcome words and JSON keys are English in every language; messages follow LANGUAGE,\n"
                     "LC_ALL, LC_MESSAGES and LANG (LC_ALL=C.UTF-8 gives English).") +
           "\n";
}

} // namespace velmora::fix
