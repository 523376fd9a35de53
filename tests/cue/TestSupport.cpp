#include "TestSupport.h"

#include "files/PathNames.h"

namespace velmora::testkit {

void RecordingHost::PumpEvents() {
    ++pumps;
    if (onPump) {
        onPump();
    }
}

std::optional<std::string> RecordingHost::ChooseFile(const FileFilterList& filters,
                                                     const std::string& initialFolder) {
    const std::size_t call = chooserCalls.size();
    chooserCalls.push_back({filters, initialFolder});
    return call < chooserAnswers.size() ? chooserAnswers[call] : std::nullopt;
}

std::optional<std::string> RecordingHost::ChooseReferencedFile(const FileRequest& request) {
    requests.push_back(request);
    if (takeSingleCandidate && request.PlausibleCandidates == 1) {
        return request.Candidates.front();
    }
    return ChooseFile(request.Filters, request.InitialFolder);
}

std::uint32_t RecordingHost::TickCount() {
    const std::uint32_t now = tick;
    tick += tickStep;
    return now;
}

std::error_code TestStorage::MoveFile(const std::string& from, const std::string& to) {
    if (beforeMove) {
        beforeMove(from, to);
    }
    return FolderStorage::MoveFile(from, to);
}

void TestStorage::WriteMoveRecord(const std::string& recordPath, std::string_view bytes,
                                  const std::string& sheetPath) {
    if (beforeRecord) {
        beforeRecord(recordPath);
    }
    FolderStorage::WriteMoveRecord(recordPath, bytes, sheetPath);
}

LengthReading FixedLengths::AudioLengthOf(const std::string& path) {
    const std::string name(FileNamePart(path));
    asked.push_back(name);
    const auto length = byName.find(name);
    return length == byName.end() ? LengthReading() : LengthReading(length->second);
}

void PutLittleEndian(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

namespace {

std::string WavBytes(std::uint64_t sampleFrames, std::uint32_t sampleRate) {
    constexpr std::uint32_t kChannels = 2;
    constexpr std::uint32_t kBytesPerSample = 2;
    const std::uint64_t dataBytes = sampleFrames * kChannels * kBytesPerSample;
    std::string wav = "RIFF";
    PutLittleEndian(wav, 36 + dataBytes, 4);
    wav += "WAVEfmt ";
    PutLittleEndian(wav, 16, 4);
    PutLittleEndian(wav, 1, 2);
    PutLittleEndian(wav, kChannels, 2);
    PutLittleEndian(wav, sampleRate, 4);
    PutLittleEndian(wav, sampleRate * kChannels * kBytesPerSample, 4);
    PutLittleEndian(wav, kChannels * kBytesPerSample, 2);
    PutLittleEndian(wav, kBytesPerSample * 8, 2);
    wav += "data";
    PutLittleEndian(wav, dataBytes, 4);
    wav.append(dataBytes, '\0');
    return wav;
}

} // namespace

void WriteWav(const std::string& path, std::uint64_t sampleFrames, std::uint32_t sampleRate) {
    WriteFile(path, WavBytes(sampleFrames, sampleRate));
}

void WriteWavAfterManyChunks(const std::string& path, std::uint64_t sampleFrames) {
    constexpr int kChunks = 70;
    std::string wav = WavBytes(sampleFrames, 44100);
    std::string chunks;
    for (int i = 0; i < kChunks; ++i) {
        chunks += std::string("junk\4\0\0\0abcd", 12);
    }
    // After "RIFF", its size and "WAVE".
    wav.insert(12, chunks);
    std::string size;
    PutLittleEndian(size, wav.size() - 8, 4);
    WriteFile(path, wav.replace(4, 4, size));
}

} // namespace velmora::testkit
