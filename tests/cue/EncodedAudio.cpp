#include "EncodedAudio.h"

#include "TestSupport.h"

#include <fcntl.h>
#include <random>
#include <unistd.h>

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
    for (const char* name : {"tone.wav", "tone.aiff", "tone.flac", "tone.mp3", "tone-vbr.mp3",
                             "tone-bare.mp3", "tone.ogg", "tone.opus", "tone.wv"}) {
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
