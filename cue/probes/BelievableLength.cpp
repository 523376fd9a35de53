#include "cue/probes/BelievableLength.h"

#include "messages/Messages.h"

#include <array>
#include <string>

namespace velmora {
namespace {

struct BitRateRange {
    std::string_view Extension;
    // Bits a second of the whole file, tags and all.
    double Lowest;
    double Highest;
};

// Wide enough for silence, which lossless coders shrink to a bit over a kilobit a second, and for
// cover pictures, which add bytes but no time; narrow enough for a header that claims hours or an
// instant.
constexpr double kKilo = 1000;
constexpr double kLossyLowest = 1 * kKilo;
constexpr double kLossyHighest = 4000 * kKilo;
constexpr double kLosslessLowest = 0.5 * kKilo;
constexpr double kLosslessHighest = 60000 * kKilo;
// PCM: 4,000 samples a second of one 8-bit channel, up to 768,000 of eight 32-bit ones.
constexpr double kPcmLowest = 32 * kKilo;
constexpr double kPcmHighest = 768000.0 * 8 * 32;

constexpr std::array<BitRateRange, 14> kRanges = {{
    {"mp3", kLossyLowest, kLossyHighest},
    {"ogg", kLossyLowest, kLossyHighest},
    {"oga", kLossyLowest, kLossyHighest},
    {"opus", kLossyLowest, kLossyHighest},
    {"mpc", kLossyLowest, kLossyHighest},
    {"wma", kLossyLowest, kLossyHighest},
    {"aac", kLossyLowest, kLossyHighest},
    {"mp4", kLossyLowest, kLosslessHighest},
    {"m4a", kLossyLowest, kLosslessHighest},
    {"flac", kLosslessLowest, kLosslessHighest},
    {"wv", kLosslessLowest, kLosslessHighest},
    {"ape", kLosslessLowest, kLosslessHighest},
    {"wav", kPcmLowest, kPcmHighest},
    {"aiff", kPcmLowest, kPcmHighest},
}};

} // namespace

std::string LowerExtension(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || path.find_first_of("/\\", dot) != std::string_view::npos) {
        return {};
    }
    std::string extension(path.substr(dot + 1));
    for (char& c : extension) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return extension;
}

LengthReading Believable(LengthReading reading, std::string_view extension, std::uint64_t fileBytes) {
    if (!reading || reading->SampleRate == 0) {
        return reading;
    }
    if (reading->Samples == 0) {
        return LengthReading::Unknown(Localized("its header states no length"));
    }
    const std::string_view format = extension == "aif" ? "aiff" : extension;
    for (const BitRateRange& range : kRanges) {
        if (range.Extension != format) {
            continue;
        }
        const double seconds = static_cast<double>(reading->Samples) / reading->SampleRate;
        const double bitsPerSecond = static_cast<double>(fileBytes) * 8 / seconds;
        if (bitsPerSecond < range.Lowest || bitsPerSecond > range.Highest) {
            return LengthReading::Unknown(
                Localized("its header's length, %s, is not plausible for a file of %s bytes",
                          {FormatAudioLength(*reading), std::to_string(fileBytes)}));
        }
    }
    return reading;
}

} // namespace velmora
