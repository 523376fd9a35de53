#include "cue/lengths/MediaLengths.h"

#include "cue/text/TimeFields.h"
#include "files/FileStatus.h"

namespace velmora {

std::string FormatAudioLength(AudioLength length) {
    if (length.SampleRate == 0) {
        return "00:00.00";
    }
    const std::uint64_t hundredths = length.Samples / length.SampleRate * 100 +
                                     length.Samples % length.SampleRate * 100 / length.SampleRate;
    std::string text = FormatTimeField(static_cast<std::int64_t>(hundredths / 6000));
    text += ':';
    AppendTimeField(text, static_cast<std::int64_t>(hundredths / 100 % 60));
    text += '.';
    AppendTimeField(text, static_cast<std::int64_t>(hundredths % 100));
    return text;
}

LengthReading LengthReader::AudioLengthOfOpen(const std::string& path, std::intptr_t, std::uint64_t) {
    return AudioLengthOf(path);
}

std::optional<std::uint64_t> LengthReader::FileSizeOf(const std::string& path) {
    return RegularFileSize(path);
}

} // namespace velmora
