#include "EncodedAudio.h"

#include "TestSupport.h"

#include <fcntl.h>
#include <random>
#include <unistd.h>
#include <vector>

namespace velmora::testkit {
namespace {

constexpr std::uint64_t kGigabyte = std::uint64_t{1} << 30;

bool Shell(const std::string& command) {
    return RunProgram({"sh", "-c", command}) == 0;
}

bool Sparse(const std::string& path, std::uint64_t size) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    const bool made = fd >= 0 && ::ftruncate(fd, static_cast<off_t>(size)) == 0;
    if (fd >= 0) {
        ::close(fd);
    }
    return made;
}

std::string Patched(std::string bytes, std::size_t at, const std::string& with) {
    return bytes.replace(at, with.size(), with);
}

// A canonical 16-bit stereo WAV as Monkey's Audio keeps it: the source's own header, its samples (which
// stand in for the frames), their count, and how many frames of `blocksPerFrame` samples hold them.
struct ApeSource {
    std::string Header;
    std::string Frames;
    std::uint64_t Samples;
    std::uint64_t FrameCount;
};

ApeSource ApeParts(const std::string& wav, std::uint64_t blocksPerFrame) {
    const std::uint64_t samples = (wav.size() - 44) / 4;
    return {wav.substr(0, 44), wav.substr(44), samples, (samples + blocksPerFrame - 1) / blocksPerFrame};
}

// Debian packages no Monkey's Audio encoder: a file of version 3.99 laid out as its encoder lays one out,
// its descriptor counting the bytes of each part, with the source's samples standing in for the frames
// (TagLib reads only the header).
std::string MonkeysAudio(const std::string& wav) {
    constexpr std::uint64_t kBlocksPerFrame = 73728;
    const auto [source, frames, samples, frameCount] = ApeParts(wav, kBlocksPerFrame);
    std::string ape = "MAC ";
    for (const auto& [value, size] : {std::pair<std::uint64_t, int>{3990, 2},
                                      {0, 2},
                                      {52, 4},
                                      {24, 4},
                                      {frameCount * 4, 4},
                                      {source.size(), 4},
                                      {frames.size(), 4},
                                      {0, 4},
                                      {0, 4}}) {
        PutLittleEndian(ape, value, size);
    }
    ape += std::string(16, '\0');
    for (const auto& [value, size] : {std::pair<std::uint64_t, int>{2000, 2},
                                      {0, 2},
                                      {kBlocksPerFrame, 4},
                                      {samples - (frameCount - 1) * kBlocksPerFrame, 4},
                                      {frameCount, 4},
                                      {16, 2},
                                      {2, 2},
                                      {44100, 4}}) {
        PutLittleEndian(ape, value, size);
    }
    for (std::uint64_t i = 0; i < frameCount; ++i) {
        PutLittleEndian(ape, 52 + 24 + frameCount * 4 + source.size() + i * kBlocksPerFrame * 4, 4);
    }
    return ape + source + frames;
}

// Debian packages no encoder of these older layouts either: each is written from what its header states,
// with the source's samples (or filler) standing in for the frames, which TagLib does not read.
// Monkey's Audio before 3.98, version 3.80 (a frame of 9,216 samples): the header, the source's own
// header, the seek table of the frames' offsets, one byte a frame of its seek bits, the frames.
std::string OldMonkeysAudio(const std::string& wav) {
    constexpr std::uint64_t kBlocksPerFrame = 9216;
    const auto [source, frames, samples, frameCount] = ApeParts(wav, kBlocksPerFrame);
    std::string ape = "MAC ";
    for (const auto& [value, size] : {std::pair<std::uint64_t, int>{3800, 2},
                                      {2000, 2},
                                      {0, 2},
                                      {2, 2},
                                      {44100, 4},
                                      {source.size(), 4},
                                      {0, 4},
                                      {frameCount, 4},
                                      {samples - (frameCount - 1) * kBlocksPerFrame, 4}}) {
        PutLittleEndian(ape, value, size);
    }
    const std::uint64_t firstFrame = ape.size() + source.size() + frameCount * 5;
    ape += source;
    for (std::uint64_t i = 0; i < frameCount; ++i) {
        PutLittleEndian(ape, firstFrame + i * kBlocksPerFrame * 4, 4);
    }
    return ape + std::string(frameCount, '\0') + frames;
}

// Musepack stream version 7 at 44,100 a second: 28 bytes of header, then frames of 1,152 samples as one
// stream of bits in 32-bit little-endian words, high bit first, each frame its length in 20 bits and then
// that many bits (filler here, at about 150 kbit/s).
std::string MusepackSv7(std::uint64_t samples) {
    constexpr std::uint64_t kFrameSamples = 1152;
    constexpr std::uint32_t kFrameBits = 4000;
    // Without true gapless, a decoder drops half a frame.
    const std::uint64_t frames = (samples + kFrameSamples / 2 + kFrameSamples - 1) / kFrameSamples;
    std::string mpc = "MP+";
    mpc += '\x07';
    PutLittleEndian(mpc, frames, 4);
    mpc += std::string(20, '\0');
    std::vector<bool> bits;
    for (std::uint64_t frame = 0; frame < frames; ++frame) {
        for (int bit = 19; bit >= 0; --bit) {
            bits.push_back(((kFrameBits >> bit) & 1) != 0);
        }
        for (std::uint32_t bit = 0; bit < kFrameBits; ++bit) {
            bits.push_back((frame + bit) % 3 == 0);
        }
    }
    bits.resize((bits.size() + 31) / 32 * 32);
    for (std::size_t word = 0; word < bits.size(); word += 32) {
        std::uint64_t value = 0;
        for (std::size_t bit = 0; bit < 32; ++bit) {
            value = value << 1 | (bits[word + bit] ? 1 : 0);
        }
        PutLittleEndian(mpc, value, 4);
    }
    return mpc;
}

std::string Encode(const TempFolder& folder) {
    const std::string dir = folder.Path();
    const std::string tone = dir + "tone.wav";
    const std::string raw = "sox " + tone + " -t raw - | ";
    const struct {
        const char* tool;
        std::string command;
    } steps[] = {
        {"sox", "sox -n -r 44100 -c 2 -b 16 " + tone + " synth 4 sine 300-3000"},
        {"sox", "sox " + tone + " " + dir + "tone.aiff"},
        {"flac", "flac --silent -o " + dir + "tone.flac " + tone},
        {"lame", "lame --quiet " + tone + " " + dir + "tone.mp3"},
        {"lame", "lame --quiet -V 2 " + tone + " " + dir + "tone-vbr.mp3"},
        // Without a Xing or Info header: nothing counts the frames.
        {"lame", "lame --quiet -t " + tone + " " + dir + "tone-bare.mp3"},
        {"lame", "lame --quiet -t -V 2 " + tone + " " + dir + "tone-bare-vbr.mp3"},
        // A cover picture of 1.5 MB in the ID3v2 tag before the first frame.
        {"lame", "(printf '\\211PNG\\r\\n\\032\\n'; head -c 1500000 /dev/zero | tr '\\0' x) > " + dir +
                     "cover.png && lame --quiet --ti " + dir + "cover.png " + tone + " " + dir +
                     "tone-cover.mp3"},
        {"vorbis-tools", "oggenc -Q -o " + dir + "tone.ogg " + tone},
        {"opus-tools", "opusenc --quiet " + tone + " " + dir + "tone.opus"},
        {"wavpack", "wavpack -q -y " + tone + " -o " + dir + "tone.wv"},
        {"musepack-tools", "mpcenc --silent " + tone + " " + dir + "tone.mpc"},
        // The stream's description after its audio, as is usual, and before it, as for streaming.
        {"ffmpeg", "ffmpeg -loglevel error -i " + tone + " -c:a aac " + dir + "tone.m4a"},
        {"ffmpeg",
         "ffmpeg -loglevel error -i " + tone + " -c:a aac -movflags +faststart " + dir + "tone-fast.m4a"},
        // Written to a pipe, an encoder cannot go back to its header to fill in the length.
        {"flac", raw +
                     "flac --silent --force-raw-format --endian=little --sign=signed --channels=2 --bps=16 "
                     "--sample-rate=44100 -c - > " +
                     dir + "piped.flac"},
        {"sox", "sox " + tone + " -t wav - | cat > " + dir + "piped.wav"},
        {"lame", "lame --quiet - - < " + tone + " | cat > " + dir + "piped.mp3"},
        {"vorbis-tools", "oggenc -Q -o - " + tone + " | cat > " + dir + "piped.ogg"},
    };
    for (const auto& step : steps) {
        if (!Shell(step.command)) {
            return std::string(step.tool) + " is missing or failed (tools/packages.txt): " + step.command;
        }
    }
    WriteFile(dir + "tone.ape", MonkeysAudio(ReadFile(tone)));
    WriteFile(dir + "tone-old.ape", OldMonkeysAudio(ReadFile(tone)));
    WriteFile(dir + "tone-sv7.mpc", MusepackSv7(static_cast<std::uint64_t>(kToneSeconds * 44100)));
    for (const char* name : {"tone.wav", "tone.aiff", "tone.flac", "tone.mp3", "tone-vbr.mp3",
                             "tone-bare.mp3", "tone.ogg", "tone.opus", "tone.wv", "tone.mpc", "tone.m4a",
                             "tone-fast.m4a", "tone.ape", "tone-old.ape", "tone-sv7.mpc"}) {
        const std::string bytes = ReadFile(dir + name);
        const std::string whole = name;
        const std::size_t dot = whole.rfind('.');
        for (int percent : {10, 50, 90}) {
            WriteFile(dir + whole.substr(0, dot) + "-" + std::to_string(percent) + whole.substr(dot),
                      bytes.substr(0, bytes.size() * percent / 100));
        }
    }
    const std::string wav = ReadFile(tone);
    // The sample rate at 24, the byte rate at 28, the channels at 22 of the canonical header sox writes.
    WriteFile(dir + "one-hertz.wav",
              Patched(Patched(wav, 24, std::string("\1\0\0\0", 4)), 28, std::string("\4\0\0\0", 4)));
    WriteFile(dir + "no-channels.wav", Patched(wav, 22, std::string("\0\0", 2)));
    const std::string mp3 = ReadFile(dir + "tone.mp3");
    // The frame count of the Info header, after "Info" and its flags.
    const std::size_t info = mp3.find("Info");
    WriteFile(dir + "one-frame.mp3", Patched(mp3, info + 8, std::string("\0\0\0\1", 4)));
    std::mt19937 random(26);
    std::string noise(300 * 1000, '\0');
    for (char& c : noise) {
        c = static_cast<char>(random());
    }
    WriteFile(dir + "noise.mpc", noise);
    WriteFile(dir + "noise.m4a", noise);
    WriteFile(dir + "noise.ape", noise);
    // Older headers before noise: a frame count the noise cannot hold.
    WriteFile(dir + "noise-sv7.mpc",
              MusepackSv7(static_cast<std::uint64_t>(kToneSeconds * 44100)).substr(0, 28) + noise);
    WriteFile(dir + "noise-old.ape", ReadFile(dir + "tone-old.ape").substr(0, 32) + noise);
    // Headers that point past the end of the file: a box of 4 GB, a seek table 1 GB on.
    WriteFile(dir + "huge-box.m4a",
              Patched(ReadFile(dir + "tone-fast.m4a"), 28, std::string("\xFF\xFF\xFF\xF0", 4)));
    WriteFile(dir + "noise.ogg", noise);
    WriteFile(dir + "noise-then-zeros.mp3", noise);
    // What a download or a careless tool leaves before the first frame.
    const std::string bare = ReadFile(dir + "tone-bare.mp3");
    WriteFile(dir + "junk-first.mp3", noise.substr(0, 3000) + bare);
    WriteFile(dir + "zeros-first.mp3", std::string(3000, '\0') + bare);
    WriteFile(dir + "junk-first-info.mp3", noise.substr(0, 3000) + mp3);
    WriteFile(dir + "junk-too-deep.mp3", noise.substr(0, 100 * 1000) + bare);
    // A download not yet finished: the first megabyte there, the rest of its gigabyte still zeros.
    const std::string flac = ReadFile(dir + "tone.flac");
    WriteFile(dir + "unfinished.flac", flac.substr(0, flac.size() / 2));
    for (const char* name : {"zeros.mp3", "zeros.flac", "zeros.wav", "zeros.ogg", "zeros.wv", "zeros.aiff",
                             "unfinished.flac", "noise-then-zeros.mp3"}) {
        if (!Sparse(dir + name, kGigabyte)) {
            return std::string("no sparse file ") + name;
        }
    }
    if (!Sparse(dir + "zeros-10g.mp3", 10 * kGigabyte)) {
        return "no sparse file of 10 GB";
    }
    return {};
}

struct Made {
    TempFolder Folder;
    std::string Problem = Encode(Folder);
};

const Made& Once() {
    static const Made made;
    return made;
}

} // namespace

const TempFolder& EncodedAudio() {
    return Once().Folder;
}

const std::string& EncodingProblem() {
    return Once().Problem;
}

} // namespace velmora::testkit
