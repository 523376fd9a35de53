#include "cue/references/FileTimes.h"

#include "cue/text/SheetLines.h"
#include "cue/text/TimeFields.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace velmora {
namespace {

constexpr std::int64_t kFramesPerSecond = 75;

// The first three words of a line. Every line of every sheet passes here, so nothing is allocated.
struct LineWords {
    std::array<std::string_view, 3> Word;
    std::size_t Count = 0;
};

LineWords Words(std::string_view line) {
    LineWords words;
    std::size_t at = 0;
    const auto blank = [&](std::size_t i) {
        return line[i] == ' ' || line[i] == '\t';
    };
    while (words.Count < words.Word.size()) {
        while (at < line.size() && blank(at)) {
            ++at;
        }
        if (at == line.size()) {
            break;
        }
        std::size_t end = at;
        while (end < line.size() && !blank(end)) {
            ++end;
        }
        words.Word[words.Count++] = line.substr(at, end - at);
        at = end;
    }
    return words;
}

int TrackNumber(std::string_view word) {
    int number = 0;
    std::from_chars(word.data(), word.data() + word.size(), number);
    return number;
}

// "MODE1/2048" keeps 2,048 bytes of each frame; AUDIO, the raw modes and anything unknown take 2,352.
std::uint32_t SectorSizeOf(std::string_view mode) {
    const std::size_t slash = mode.find('/');
    std::uint32_t size = 0;
    if (slash == std::string_view::npos ||
        std::from_chars(mode.data() + slash + 1, mode.data() + mode.size(), size).ec != std::errc() ||
        size == 0) {
        return mode == "CDG" ? 2448 : kRawSectorSize;
    }
    return size;
}

std::optional<std::int64_t> FramesOf(std::string_view time) {
    std::int64_t fields[3] = {};
    for (int field = 0; field < 3; ++field) {
        const std::size_t colon = field < 2 ? time.find(':') : time.size();
        if (colon == std::string_view::npos) {
            return std::nullopt;
        }
        const std::optional<std::int32_t> value = ParseTimeField(time.substr(0, colon));
        if (!value) {
            return std::nullopt;
        }
        fields[field] = *value;
        time.remove_prefix(std::min(colon + 1, time.size()));
    }
    CarryTime(fields[0], fields[1], fields[2]);
    return (fields[0] * 60 + fields[1]) * kFramesPerSecond + fields[2];
}

} // namespace

std::size_t FileTimes::TrackCount() const {
    std::size_t count = 0;
    for (std::size_t i = 0; i < Indexes.size(); ++i) {
        count += i == 0 || Indexes[i].Track != Indexes[i - 1].Track ? 1 : 0;
    }
    return count;
}

std::vector<FileTimes> IndexTimesByFile(std::string_view text, const std::vector<FileReference>& references) {
    std::vector<FileTimes> files(std::max<std::size_t>(references.size(), 1));
    LineReader reader(text);
    std::size_t lineNumber = 0;
    // Index into `files` of the FILE line the current line follows; none before the first one.
    std::optional<std::size_t> file;
    if (references.empty()) {
        file = 0;
    }
    std::size_t nextReference = 0;
    int track = 0;
    std::uint32_t sectorSize = kRawSectorSize;
    for (LineSpan span; reader.Next(span);) {
        ++lineNumber;
        if (nextReference < references.size() && references[nextReference].LineNumber == lineNumber) {
            file = nextReference++;
            continue;
        }
        const LineWords words = Words(text.substr(span.Start, span.Length));
        if (words.Count >= 2 && words.Word[0] == "TRACK") {
            track = TrackNumber(words.Word[1]);
            sectorSize = SectorSizeOf(words.Word[2]);
        } else if (file && words.Count == 3 && words.Word[0] == "INDEX") {
            if (const std::optional<std::int64_t> frames = FramesOf(words.Word[2])) {
                files[*file].Indexes.push_back({lineNumber, track, *frames, sectorSize});
            }
        }
    }
    return files;
}

std::string FormatFrames(std::int64_t frames) {
    std::string text = FormatTimeField(frames / kFramesPerSecond / 60);
    text += ':';
    AppendTimeField(text, frames / kFramesPerSecond % 60);
    text += ':';
    AppendTimeField(text, frames % kFramesPerSecond);
    return text;
}

} // namespace velmora
