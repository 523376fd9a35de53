#include "cue/references/Candidates.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

struct CandidateCase {
    std::string note;
    std::vector<std::string> folder;
    std::string reference;
    FileKind kind;
    std::vector<std::string> taken;
    std::vector<std::string> expected;
    CandidateRule rule;
};

TEST(Candidates, TheBestRuleThatFindsAnyDecides) {
    using R = CandidateRule;
    const FileKind audio = FileKind::Audio;
    const FileKind image = FileKind::Image;
    const CandidateCase cases[] = {
        {"case", {"album.WAV", "Album.flac"}, "Album.wav", audio, {}, {"album.WAV"}, R::SameNameIgnoringCase},
        {"case wins over the sheet's name",
         {"ALBUM.WAV", "sheet.flac"},
         "album.wav",
         audio,
         {},
         {"ALBUM.WAV"},
         R::SameNameIgnoringCase},
        {"other extension",
         {"Album.flac", "Album.log", "Album.cue"},
         "Album.wav",
         audio,
         {},
         {"Album.flac"},
         R::OtherExtension},
        {"double extension",
         {"Album.wav.flac"},
         "Album.wav",
         audio,
         {},
         {"Album.wav.flac"},
         R::OtherExtension},
        {"other extension in another case",
         {"ALBUM.FLAC"},
         "album.wav",
         audio,
         {},
         {"ALBUM.FLAC"},
         R::OtherExtension},
        {"two equally good",
         {"Album.ape", "Album.flac"},
         "Album.wav",
         audio,
         {},
         {"Album.ape", "Album.flac"},
         R::OtherExtension},
        {"the sheet's name",
         {"sheet.opus", "cover.jpg"},
         "CDImage.wav",
         audio,
         {},
         {"sheet.opus"},
         R::SheetBaseName},
        {"the only one of its kind",
         {"Band - Album.wv", "cover.jpg", "sheet.cue"},
         "CDImage.wav",
         audio,
         {},
         {"Band - Album.wv"},
         R::OnlyFileOfKind},
        {"every audio extension", {"x.AIFF"}, "a.wav", audio, {}, {"x.AIFF"}, R::OnlyFileOfKind},
        {"images", {"game.iso", "game.flac"}, "game.bin", image, {}, {"game.iso"}, R::OtherExtension},
        {"an image is no audio", {"Disc.img"}, "CDImage.wav", audio, {}, {}, R::OnlyFileOfKind},
        {"two of the kind are no only one",
         {"a.flac", "b.flac"},
         "CDImage.wav",
         audio,
         {},
         {},
         R::OnlyFileOfKind},
        {"near names are never taken",
         {"Album1.flac", "Albun.wav"},
         "Album.wav",
         audio,
         {},
         {},
         R::OnlyFileOfKind},
        {"taken files are not offered",
         {"01.flac", "02.flac"},
         "03.wav",
         audio,
         {"01.flac"},
         {"02.flac"},
         R::OnlyFileOfKind},
        {"two of the kind with different extensions",
         {"a.flac", "b.mp3"},
         "x.wav",
         audio,
         {},
         {},
         R::OnlyFileOfKind},
        {"an empty reference matches no name", {"x.flac", "y.flac"}, "", audio, {}, {}, R::OnlyFileOfKind},
    };
    for (const CandidateCase& c : cases) {
        const std::vector<Candidate> found =
            FindCandidates(c.folder, c.reference, "sheet.cue", c.kind, SheetEncoding::Utf8, c.taken);
        std::vector<std::string> names;
        for (const Candidate& candidate : found) {
            names.push_back(candidate.FileName);
            EXPECT_EQ(candidate.Rule, c.rule) << c.note;
        }
        EXPECT_EQ(names, c.expected) << c.note;
    }
}

TEST(Candidates, NamesCompareInTheSheetsEncoding) {
    // "Кино.wav" as a Windows-1251 sheet writes it, against names on disk in UTF-8 or in the same code page.
    const std::string reference = "\xCA\xE8\xED\xEE.wav";
    const std::tuple<std::vector<std::string>, SheetEncoding, std::vector<std::string>> cases[] = {
        {{"кино.WAV"}, SheetEncoding::Windows1251, {"кино.WAV"}},
        {{"Кино.flac", "Кино.txt"}, SheetEncoding::Windows1251, {"Кино.flac"}},
        {{"\xEA\xE8\xED\xEE.wav"}, SheetEncoding::Windows1251, {"\xEA\xE8\xED\xEE.wav"}},
        // Read as Windows-1252 the same bytes are other letters, which the Cyrillic name never equals.
        {{"кино.WAV", "other.mp3", "more.mp3"}, SheetEncoding::Windows1252, {}},
    };
    for (const auto& [folder, encoding, expected] : cases) {
        std::vector<std::string> names;
        for (const Candidate& candidate :
             FindCandidates(folder, reference, "sheet.cue", FileKind::Audio, encoding, {})) {
            names.push_back(candidate.FileName);
        }
        EXPECT_EQ(names, expected) << EncodingName(encoding) << " " << folder.front();
    }
}

TEST(Candidates, ExtensionsOfEachKind) {
    const std::tuple<std::string, FileKind, bool> cases[] = {
        {"a.mp3", FileKind::Audio, true},  {"a.WMA", FileKind::Audio, true},
        {"a.Opus", FileKind::Audio, true}, {"a.m4a", FileKind::Audio, true},
        {"a.aiff", FileKind::Audio, true}, {"a.aif", FileKind::Audio, true},
        {"a.OGA", FileKind::Audio, true},  {"a.ogx", FileKind::Audio, false},
        {"a.bin", FileKind::Audio, false}, {"a.ISO", FileKind::Image, true},
        {"a.img", FileKind::Image, true},  {".flac", FileKind::Audio, false},
        {"flac", FileKind::Audio, false},  {"a.flac.txt", FileKind::Audio, false},
    };
    for (const auto& [name, kind, expected] : cases) {
        EXPECT_EQ(HasExtensionOfKind(name, kind), expected) << name;
    }
}

// The listed extensions are exactly the accepted ones: each is accepted for its own kind only.
TEST(Candidates, ListedExtensionsAreTheAcceptedOnes) {
    const std::pair<FileKind, std::size_t> kinds[] = {{FileKind::Audio, 14}, {FileKind::Image, 3}};
    for (const auto& [kind, count] : kinds) {
        SCOPED_TRACE(kind == FileKind::Audio ? "audio" : "image");
        const auto listed = ExtensionsOfKind(kind);
        EXPECT_EQ(listed.size(), count);
        const FileKind other = kind == FileKind::Audio ? FileKind::Image : FileKind::Audio;
        for (const std::string_view extension : listed) {
            const std::string name = "a." + std::string(extension);
            EXPECT_TRUE(HasExtensionOfKind(name, kind)) << name;
            EXPECT_FALSE(HasExtensionOfKind(name, other)) << name;
        }
    }
}

} // namespace
} // namespace velmora
