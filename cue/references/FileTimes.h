#pragma once

#include "cue/references/FileReferences.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace velmora {

inline constexpr std::uint32_t kRawSectorSize = 2352;

// One INDEX line of a sheet: where it lies in its file, counted in frames (75 to a second).
struct IndexPoint {
    std::size_t LineNumber = 0;
    // The number of the TRACK line before it; 0 when there is none.
    int Track = 0;
    std::int64_t Frames = 0;
    // Bytes a frame takes in a disc image, by the track's mode: 2,352 for AUDIO and the raw modes,
    // 2,048 for MODE1/2048 and the like.
    std::uint32_t SectorSize = kRawSectorSize;
};

// The INDEX lines that belong to one FILE line: those after it, up to the next FILE line.
struct FileTimes {
    std::vector<IndexPoint> Indexes;
    // How many tracks these INDEX lines start.
    std::size_t TrackCount() const;
};

// The INDEX times of the sheet, one list for each of `references` (its FILE lines), in order; a sheet
// without a FILE line gets one list with every INDEX. A time that is not three fields of digits is left
// out: the repair reports it on its own.
std::vector<FileTimes> IndexTimesByFile(std::string_view text, const std::vector<FileReference>& references);

// "74:10:00": a count of frames as a cue sheet writes it.
std::string FormatFrames(std::int64_t frames);

} // namespace velmora
