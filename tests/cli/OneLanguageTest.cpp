#include "../cue/TestSupport.h"
#include "../messages/ScopedLanguage.h"
#include "RunVelmoraFix.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <regex>
#include <unistd.h>
#include <utility>
#include <vector>

namespace velmora::fix {
namespace {

using velmora::testkit::kSamplesPerCdFrame;
using velmora::testkit::TempFolder;
using velmora::testkit::WriteFile;
using velmora::testkit::WriteWav;

// A folder with one sheet for each kind of message a run can print: a file still missing, times to
// normalise, a file too short, one whose length cannot be read, a chosen file that is a folder, a
// sheet that is a link and a file that is no sheet.
void MakeFolderOfEveryMessage(const TempFolder& folder) {
    WriteFile(folder / "absent.cue", "FILE \"perdu.wav\" WAVE\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n");
    WriteFile(folder / "temps.cue", "FILE \"a.wav\" WAVE\n  TRACK 01 AUDIO\n    INDEX 01 0:1:80\n");
    WriteWav(folder / "a.wav", 200 * kSamplesPerCdFrame);
    WriteFile(folder / "court.cue", "FILE \"b.wav\" WAVE\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                                    "  TRACK 02 AUDIO\n    INDEX 01 00:09:00\n");
    WriteWav(folder / "b.wav", 75 * kSamplesPerCdFrame);
    WriteFile(folder / "muet.cue", "FILE \"c.wav\" WAVE\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n");
    WriteFile(folder / "c.wav", std::string(64, 'x'));
    WriteFile(folder / "disque.cue",
              "FILE \"disque.bin\" BINARY\n  TRACK 01 MODE1/2352\n    INDEX 01 00:00:00\n");
    std::filesystem::create_directory(folder / "dossier.bin");
    std::filesystem::create_directory(folder / "sous");
    ASSERT_EQ(::symlink("../temps.cue", (folder / "sous/lien.cue").c_str()), 0);
    WriteFile(folder / "notes.txt", "");
}

// Every run a user can meet, with what it prints in either stream.
const char* const kRuns[] = {
    "--help",
    "",
    "--frobnicate x.cue",
    "--check --restore x.cue",
    "--encoding latin9 x.cue",
    "--check --verbose court.cue muet.cue absent.cue",
    "--dry-run --verbose temps.cue",
    "--verbose absent.cue temps.cue notes.txt",
    "--recursive sous",
    "--bin dossier.bin disque.cue",
    "--restore --verbose temps.cue absent.cue",
};

// Runs of English words that no translation keeps; option names, outcome words and the names of the
// folder's files are no sentence and may stay.
const std::regex kEnglishSentence(
    R"((^|[\s(])(the|is|was|were|are|on line|still|could|cannot|not|every|and|of|with|to|for|its|no|nothing|Usage)(?=[\s.,:;)!]|$))");

// What each run printed, both streams, in a new folder of every message under the language set now.
std::vector<std::pair<std::string, Finished>> RunEveryRun() {
    TempFolder folder;
    MakeFolderOfEveryMessage(folder);
    std::vector<std::pair<std::string, Finished>> runs;
    for (const char* arguments : kRuns) {
        runs.emplace_back(arguments, RunVelmoraFix(folder.Path(), arguments));
    }
    return runs;
}

struct LanguageCase {
    std::string note;
    LanguageSettings settings;
    // A phrase the language's run must show, so that a run printing nothing cannot pass.
    std::string stillMissing;
    std::string usage;
};

TEST(OneLanguage, VelmoraFixLeavesNoEnglishSentenceInAnotherLanguage) {
    const LanguageCase cases[] = {
        {"French", {{"LANG", "fr_FR.UTF-8"}}, "manque toujours", "Utilisation :"},
        // LANGUAGE picks the catalogue under any installed locale, as a desktop session sets it.
        {"Japanese", {{"LANG", "fr_FR.UTF-8"}, {"LANGUAGE", "ja"}}, "まだ見つかりません", "使い方:"},
    };
    for (const LanguageCase& c : cases) {
        SCOPED_TRACE(c.note);
        const ScopedLanguage language(c.settings);
        std::string printed;
        for (const auto& [arguments, finished] : RunEveryRun()) {
            printed += finished.out + finished.err;
            std::smatch english;
            for (const std::string& stream : {finished.out, finished.err}) {
                // The lines of outcomes ("x.cue => BAD") are English words for scripts, not sentences.
                const std::string sentences =
                    std::regex_replace(stream, std::regex(R"(\S+ => [A-Z ]+\n)"), "");
                EXPECT_FALSE(std::regex_search(sentences, english, kEnglishSentence))
                    << arguments << ": \"" << english.str() << "\" in\n"
                    << sentences;
            }
        }
        EXPECT_NE(printed.find(c.stillMissing), std::string::npos) << printed;
        EXPECT_NE(printed.find(c.usage), std::string::npos) << printed;
        // Each kind of message was met, so the search above looked at every one of them.
        for (const char* met : {"absent.cue => BAD", "court.cue => DOES NOT FIT", "muet.cue => UNCHECKED",
                                "temps.cue => CORRECTED", "sous/lien.cue => SKIPPED", "notes.txt => WARNING",
                                "disque.cue => BAD", "temps.cue => RESTORED", "absent.cue => NO BACKUP"}) {
            EXPECT_NE(printed.find(met), std::string::npos) << met << " in\n" << printed;
        }
    }
}

TEST(OneLanguage, UnderEnglishTheSameRunsSpeakEnglish) {
    const ScopedLanguage english(kEnglishMessages);
    std::string printed;
    for (const auto& run : RunEveryRun()) {
        printed += run.second.out + run.second.err;
    }
    // The probe above finds English where English is printed.
    EXPECT_TRUE(std::regex_search(printed, kEnglishSentence)) << printed;
    for (const char* sentence : {"\"perdu.wav\" on line 1 is still missing.", "Usage: velmora-fix",
                                 "dossier.bin\" is not a regular file", "is a link",
                                 "no backup and no record of moves: nothing was put back"}) {
        EXPECT_NE(printed.find(sentence), std::string::npos) << sentence << " in\n" << printed;
    }
}

} // namespace
} // namespace velmora::fix
