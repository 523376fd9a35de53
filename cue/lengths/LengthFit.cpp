#include "cue/lengths/LengthFit.h"

#include "messages/Messages.h"

namespace velmora {
namespace {

__extension__ using Wide = unsigned __int128;

constexpr std::uint64_t kFramesPerSecond = 75;

// Built digit by digit: inserting into the string trips GCC 12's overlap warning at -O3.
std::string GroupedThousands(std::uint64_t value) {
    const std::string digits = std::to_string(value);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            grouped += ',';
        }
        grouped += digits[i];
    }
    return grouped;
}

// Where each INDEX lies in an image, in bytes: the frames between two INDEX lines take the sector size
// of the track they belong to.
std::vector<Wide> ByteOffsets(const FileTimes& times) {
    std::vector<Wide> offsets;
    Wide offset = 0;
    for (std::size_t i = 0; i < times.Indexes.size(); ++i) {
        const IndexPoint& point = times.Indexes[i];
        const IndexPoint& before = times.Indexes[i == 0 ? 0 : i - 1];
        const std::int64_t frames = i == 0 ? point.Frames : point.Frames - before.Frames;
        // Times that go backwards add nothing rather than wrap.
        if (frames > 0) {
            offset += static_cast<Wide>(frames) * (i == 0 ? point.SectorSize : before.SectorSize);
        }
        offsets.push_back(offset);
    }
    return offsets;
}

// The frames an image holds, counted the way the INDEX at `offset` with its sector size counts them.
std::int64_t ImageFrames(const IndexPoint& point, Wide offset, std::uint64_t bytes) {
    if (bytes >= offset) {
        return point.Frames + static_cast<std::int64_t>((bytes - offset) / point.SectorSize);
    }
    return point.Frames -
           static_cast<std::int64_t>((offset - bytes + point.SectorSize - 1) / point.SectorSize);
}

bool AudioHolds(std::int64_t frames, AudioLength audio) {
    return frames < 0 ||
           static_cast<Wide>(frames) * audio.SampleRate < static_cast<Wide>(audio.Samples) * kFramesPerSecond;
}

// How far `frames` lies past the end of the audio, rounded up to hundredths so that a sliver past the
// end never reads as nothing.
std::string AudioPast(std::int64_t frames, AudioLength audio) {
    const Wide over =
        static_cast<Wide>(frames) * audio.SampleRate - static_cast<Wide>(audio.Samples) * kFramesPerSecond;
    if (over == 0) {
        return {};
    }
    const Wide scale = static_cast<Wide>(kFramesPerSecond) * audio.SampleRate;
    const auto hundredths = static_cast<std::uint64_t>((over * 100 + scale - 1) / scale);
    return FormatAudioLength({hundredths, 100});
}

} // namespace

std::optional<LengthMisfit> FirstMisfit(const FileTimes& times, const FileCapacity& capacity) {
    if (!capacity.Image && capacity.Audio.SampleRate == 0) {
        return std::nullopt;
    }
    const std::vector<Wide> offsets = capacity.Image ? ByteOffsets(times) : std::vector<Wide>();
    for (std::size_t i = 0; i < times.Indexes.size(); ++i) {
        const IndexPoint& point = times.Indexes[i];
        // Texts are made only for the one INDEX that does not fit: most sheets have none.
        const bool fits = capacity.Image ? offsets[i] + point.SectorSize <= capacity.Bytes
                                         : AudioHolds(point.Frames, capacity.Audio);
        if (fits) {
            continue;
        }
        LengthMisfit misfit;
        misfit.Index = point;
        misfit.Image = capacity.Image;
        misfit.Start = FormatFrames(point.Frames);
        if (capacity.Image) {
            const std::int64_t holds = ImageFrames(point, offsets[i], capacity.Bytes);
            misfit.Length = FormatFrames(std::max<std::int64_t>(holds, 0));
            if (point.Frames > holds) {
                misfit.Past = FormatFrames(point.Frames - holds);
            }
        } else {
            misfit.Length = FormatAudioLength(capacity.Audio);
            misfit.Past = AudioPast(point.Frames, capacity.Audio);
        }
        return misfit;
    }
    return std::nullopt;
}

std::string CapacityText(const FileTimes& times, const FileCapacity& capacity) {
    if (!capacity.Image) {
        return FormatAudioLength(capacity.Audio);
    }
    if (times.Indexes.empty()) {
        return FormatFrames(static_cast<std::int64_t>(capacity.Bytes / kRawSectorSize));
    }
    const std::vector<Wide> offsets = ByteOffsets(times);
    return FormatFrames(
        std::max<std::int64_t>(ImageFrames(times.Indexes.back(), offsets.back(), capacity.Bytes), 0));
}

std::string MisfitText(const LengthMisfit& misfit) {
    const std::string track = std::to_string(misfit.Index.Track);
    if (misfit.Image) {
        const std::string frameSize = GroupedThousands(misfit.Index.SectorSize);
        return misfit.Past.empty()
                   ? Localized(
                         "track %s starts at %s, the image holds %s at %s bytes a frame (right at its end)",
                         {track, misfit.Start, misfit.Length, frameSize})
                   : Localized(
                         "track %s starts at %s, the image holds %s at %s bytes a frame (%s past its end)",
                         {track, misfit.Start, misfit.Length, frameSize, misfit.Past});
    }
    return misfit.Past.empty() ? Localized("track %s starts at %s, the audio lasts %s (right at its end)",
                                           {track, misfit.Start, misfit.Length})
                               : Localized("track %s starts at %s, the audio lasts %s (%s past its end)",
                                           {track, misfit.Start, misfit.Length, misfit.Past});
}

} // namespace velmora
