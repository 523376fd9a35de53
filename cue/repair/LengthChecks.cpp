#include "cue/repair/LengthChecks.h"

#include "cue/repair/ReferenceChoice.h"

namespace velmora {

bool NamesImage(std::string_view text, const FileReference& reference) {
    std::string type(text.substr(reference.TypeStart, reference.TypeLength));
    for (char& c : type) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    if (type.empty()) {
        return HasExtensionOfKind(reference.Name, FileKind::Image);
    }
    return type == "BINARY" || type == "MOTOROLA";
}

namespace {

std::optional<FileCapacity> ImageCapacity(std::optional<std::uint64_t> bytes) {
    if (!bytes) {
        return std::nullopt;
    }
    FileCapacity capacity;
    capacity.Image = true;
    capacity.Bytes = *bytes;
    return capacity;
}

} // namespace

std::optional<FileCapacity> ReadCapacity(LengthReader& reader, const std::string& path, bool image,
                                         std::string* reason) {
    if (image) {
        return ImageCapacity(reader.FileSizeOf(path));
    }
    FileCapacity capacity;
    const LengthReading audio = reader.AudioLengthOf(path);
    if (!audio || audio->SampleRate == 0) {
        if (reason != nullptr) {
            *reason = audio.Reason;
        }
        return std::nullopt;
    }
    capacity.Audio = *audio;
    return capacity;
}

LengthCheck CheckFileLengths(const SheetFiles& files, SheetEncoding encoding, const std::string& folder,
                             RepairHost& host) {
    LengthCheck check;
    LengthReader* reader = host.Lengths();
    if (reader == nullptr) {
        return check;
    }
    const std::vector<FileReference>& references = files.References;
    for (std::size_t i = 0; i < references.size(); ++i) {
        const FileReference& reference = references[i];
        const std::optional<std::string> path = FoundPath(host, reference.Name, folder, encoding);
        if (!path) {
            check.Missing.push_back(reference);
            continue;
        }
        std::string reason;
        const bool image = NamesImage(files.Text, reference);
        // An image holds what its size says, and the storage looked at it as it found it.
        const std::optional<FileCapacity> capacity = image ? ImageCapacity(host.Storage().FileSize(*path))
                                                           : ReadCapacity(*reader, *path, false, &reason);
        if (!capacity) {
            check.Unread.push_back({reference, std::move(reason)});
            continue;
        }
        if (std::optional<LengthMisfit> misfit = FirstMisfit(files.Times[i], *capacity)) {
            misfit->FileLine = reference.LineNumber;
            misfit->Name = reference.Name;
            check.Misfits.push_back(std::move(*misfit));
        }
    }
    return check;
}

} // namespace velmora
