#pragma once

#include "cue/lengths/MediaLengths.h"
#include "cue/references/FileTimes.h"

#include <optional>
#include <string>

namespace velmora {

// What one file holds: audio of some length, or a disc image of some size.
struct FileCapacity {
    bool Image = false;
    AudioLength Audio;
    std::uint64_t Bytes = 0;
};

// The first INDEX of a file that lies at or past the end of what the file holds: the track that starts
// there has no audio at all.
struct LengthMisfit {
    // The FILE line and its name as the sheet writes it.
    std::size_t FileLine = 0;
    std::string Name;
    IndexPoint Index;
    bool Image = false;
    // "74:10:00"
    std::string Start;
    // How long the audio lasts ("60:02.40") or how far the image reaches ("39:59:74").
    std::string Length;
    // How far past the end the INDEX lies, in the same form; empty when it lies right at the end.
    std::string Past;
};

std::optional<LengthMisfit> FirstMisfit(const FileTimes& times, const FileCapacity& capacity);

// True when every INDEX of `times` lies before the end of what the file holds.
inline bool Holds(const FileTimes& times, const FileCapacity& capacity) {
    return !FirstMisfit(times, capacity);
}

// How long the file is, as FirstMisfit writes it: "61:12.00" for audio, "61:12:00" for an image (the
// frames it holds at the sector size of the file's tracks).
std::string CapacityText(const FileTimes& times, const FileCapacity& capacity);

// "track 12 starts at 74:10:00, the audio lasts 60:02.40 (14:07.60 past its end)"
std::string MisfitText(const LengthMisfit& misfit);

} // namespace velmora
