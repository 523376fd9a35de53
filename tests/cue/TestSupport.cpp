#include "TestSupport.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace velmora::testing {

namespace fs = std::filesystem;

constexpr uid_t NobodyId = 65534;

TempFolder::TempFolder(const std::string& base) {
    std::string pattern = (base.empty() ? fs::temp_directory_path().string() : base) + "/velmora-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a temporary folder in " + pattern);
    path_ = pattern + "/";
}

TempFolder::~TempFolder() {
    // Tests take write permission away; give it back so that everything can go.
    std::error_code ignored;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
    for (fs::recursive_directory_iterator it(path_, ignored), end; !ignored && it != end;
         it.increment(ignored))
        if (it->is_directory(ignored) && !it->is_symlink(ignored))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(path_, ignored);
}

void WriteFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    std::ostringstream content;
    content << in.rdbuf();
    return std::move(content).str();
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

void HandToUnprivilegedUser(const std::string& path) {
    if (::geteuid() == 0 && ::chown(path.c_str(), NobodyId, NobodyId) != 0)
        throw std::runtime_error("cannot hand " + path + " over");
}

std::string RunUnprivileged(const std::function<std::string()>& work) {
    int channel[2];
    if (::pipe(channel) != 0)
        throw std::runtime_error("pipe failed");
    const pid_t child = ::fork();
    if (child < 0)
        throw std::runtime_error("fork failed");
    if (child == 0) {
        ::close(channel[0]);
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setresgid(NobodyId, NobodyId, NobodyId) != 0 ||
             ::setresuid(NobodyId, NobodyId, NobodyId) != 0))
            ::_exit(3);
        std::string result;
        try {
            result = work();
        } catch (const std::exception& error) {
            result = std::string("exception: ") + error.what();
        }
        const char* data = result.data();
        std::size_t left = result.size();
        while (left > 0) {
            const ssize_t written = ::write(channel[1], data, left);
            if (written <= 0)
                ::_exit(4);
            data += written;
            left -= static_cast<std::size_t>(written);
        }
        ::_exit(0);
    }
    ::close(channel[1]);
    std::string output;
    char chunk[4096];
    for (ssize_t got; (got = ::read(channel[0], chunk, sizeof chunk)) > 0;)
        output.append(chunk, static_cast<std::size_t>(got));
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("the unprivileged child failed");
    return output;
}

void RecordingHost::PumpEvents() {
    ++pumps;
    if (onPump)
        onPump();
}

std::optional<std::string> RecordingHost::ChooseFile(const FileFilterList& filters,
                                                     const std::string& initialFolder) {
    const std::size_t call = chooserCalls.size();
    chooserCalls.push_back({filters, initialFolder});
    return call < chooserAnswers.size() ? chooserAnswers[call] : std::nullopt;
}

std::optional<std::string> RecordingHost::ChooseReferencedFile(const FileRequest& request) {
    requests.push_back(request);
    if (takeSingleCandidate && request.PlausibleCandidates == 1)
        return request.Candidates.front();
    return ChooseFile(request.Filters, request.InitialFolder);
}

std::uint32_t RecordingHost::TickCount() {
    const std::uint32_t now = tick;
    tick += tickStep;
    return now;
}

std::error_code RecordingHost::MoveFile(const std::string& from, const std::string& to) {
    moves.emplace_back(from, to);
    return MoveFileNoReplace(from, to);
}

std::optional<AudioLength> FixedLengths::AudioLengthOf(const std::string& path) {
    const std::string name = path.substr(path.rfind('/') + 1);
    asked.push_back(name);
    const auto length = byName.find(name);
    return length == byName.end() ? std::nullopt : std::optional<AudioLength>(length->second);
}

namespace {

void PutLittleEndian(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

} // namespace

void WriteWav(const std::string& path, std::uint64_t sampleFrames, std::uint32_t sampleRate) {
    constexpr std::uint32_t channels = 2;
    constexpr std::uint32_t bytesPerSample = 2;
    const std::uint64_t dataBytes = sampleFrames * channels * bytesPerSample;
    std::string wav = "RIFF";
    PutLittleEndian(wav, 36 + dataBytes, 4);
    wav += "WAVEfmt ";
    PutLittleEndian(wav, 16, 4);
    PutLittleEndian(wav, 1, 2);
    PutLittleEndian(wav, channels, 2);
    PutLittleEndian(wav, sampleRate, 4);
    PutLittleEndian(wav, sampleRate * channels * bytesPerSample, 4);
    PutLittleEndian(wav, channels * bytesPerSample, 2);
    PutLittleEndian(wav, bytesPerSample * 8, 2);
    wav += "data";
    PutLittleEndian(wav, dataBytes, 4);
    wav.append(dataBytes, '\0');
    WriteFile(path, wav);
}

int RunProgram(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const pid_t child = ::fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        const int devNull = ::open("/dev/null", O_WRONLY);
        ::dup2(devNull, STDOUT_FILENO);
        ::dup2(devNull, STDERR_FILENO);
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace velmora::testing
