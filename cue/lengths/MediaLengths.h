#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

namespace velmora {

// How long a piece of audio lasts: a count of samples at a rate. Formats that give only milliseconds
// count at 1,000 a second.
struct AudioLength {
    std::uint64_t Samples = 0;
    std::uint32_t SampleRate = 0;
};

// "60:02.40": minutes (two digits at least), seconds and hundredths, cut rather than rounded, so a
// length is never shown longer than it is.
std::string FormatAudioLength(AudioLength length);

// A length read from a file, or why none could be believed. Nothing at all, without a reason, is a
// file the reader does not know as audio.
struct LengthReading {
    std::optional<AudioLength> Length;
    // "the file is shorter than its header says"
    std::string Reason;

    LengthReading() = default;
    LengthReading(AudioLength length) : Length(length) {}
    static LengthReading Unknown(std::string reason) {
        LengthReading reading;
        reading.Reason = std::move(reason);
        return reading;
    }
    explicit operator bool() const { return Length.has_value(); }
    const AudioLength& operator*() const { return *Length; }
    const AudioLength* operator->() const { return &*Length; }
};

// Reads how long the files a sheet names are, so the run can tell a sheet whose times lie past the end
// of its file. The host owns its reader and keeps it for as long as it lends it to runs; the engine
// never deletes it. A reader that cannot read a file, or does not believe what it read, answers no
// length, and the run then checks nothing for that file.
class LengthReader {
public:
    // The length of the audio in the file at `path`, from its headers (nothing is decoded).
    virtual LengthReading AudioLengthOf(const std::string& path) = 0;
    // The same, of the file at `path` that the caller holds open for reading (`handle`, a descriptor or a
    // HANDLE, of `size` bytes) and closes afterwards: a reader that can read it there opens it no
    // second time.
    virtual LengthReading AudioLengthOfOpen(const std::string& path, std::intptr_t handle,
                                            std::uint64_t size);
    // The size in bytes of the file at `path`: how much a disc image holds.
    virtual std::optional<std::uint64_t> FileSizeOf(const std::string& path);

protected:
    ~LengthReader() = default;
};

} // namespace velmora
