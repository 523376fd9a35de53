#include "cue/references/SheetKind.h"

#include "cue/references/Candidates.h"
#include "cue/references/FileReferences.h"
#include "text/AsciiCase.h"

#include <algorithm>
#include <array>

namespace velmora {
namespace {

constexpr std::array<std::string_view, 14> kAudioTypes = {
    "WAVE", "WAV", "MP3", "AIFF", "AIF", "FLAC", "OGG", "APE", "WV", "M4A", "AAC", "OPUS", "WMA", "MPC"};

} // namespace

bool NamesAudioFile(std::string_view text) {
    const std::vector<FileReference> references = FindFileReferences(text);
    return std::any_of(references.begin(), references.end(), [&](const FileReference& reference) {
        const std::string type = UpperAscii(text.substr(reference.TypeStart, reference.TypeLength));
        return std::find(kAudioTypes.begin(), kAudioTypes.end(), type) != kAudioTypes.end() ||
               HasExtensionOfKind(reference.Name, FileKind::Audio);
    });
}

} // namespace velmora
