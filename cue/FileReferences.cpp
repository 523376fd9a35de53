#include "FileReferences.h"

#include "CueText.h"
#include "SheetLines.h"

namespace velmora {
namespace {

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

bool StartsWithFileKeyword(std::string_view line) {
    return line.substr(0, 4) == "FILE" && (line.size() == 4 || IsBlank(line[4]) || line[4] == '"');
}

std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

} // namespace

std::vector<FileReference> FindFileReferences(std::string_view text) {
    std::vector<FileReference> references;
    LineReader reader(text);
    std::size_t number = 0;
    for (LineSpan span; reader.Next(span);) {
        ++number;
        const std::string_view line = text.substr(span.Start, span.Length);
        // A byte order mark is no part of the first line's text.
        const std::size_t mark = span.Start == 0 && line.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
        const std::size_t blanks = mark + LeadingBlanks(line.substr(mark)).size();
        if (!StartsWithFileKeyword(line.substr(blanks)))
            continue;
        FileReference reference;
        reference.LineNumber = number;
        reference.LineStart = span.Start;
        reference.LineLength = span.Length;
        reference.Name = ExtractField(line, '"', 1);
        const std::size_t open = line.find('"');
        const std::size_t close = open == std::string_view::npos ? open : line.find('"', open + 1);
        std::size_t afterName = span.Length;
        if (close != std::string_view::npos) {
            reference.Quoted = true;
            reference.NameStart = span.Start + open + 1;
            reference.NameLength = close - open - 1;
            afterName = close + 1;
        } else {
            // Without quotes the whole line after its blanks is rewritten.
            reference.NameStart = span.Start + blanks;
            reference.NameLength = span.Start + span.Length - reference.NameStart;
            reference.TypeStart = span.Start + span.Length;
            references.push_back(std::move(reference));
            continue;
        }
        std::size_t word = afterName;
        while (word < line.size() && IsBlank(line[word]))
            ++word;
        std::size_t wordEnd = word;
        while (wordEnd < line.size() && !IsBlank(line[wordEnd]))
            ++wordEnd;
        reference.TypeStart = span.Start + (wordEnd > word ? word : afterName);
        reference.TypeLength = wordEnd - word;
        references.push_back(std::move(reference));
    }
    return references;
}

std::string RenameFileReference(std::string_view text, const FileReference& reference, std::string_view name,
                                std::string_view type) {
    std::string typeText;
    if (reference.TypeLength == 0 && !type.empty())
        typeText += ' ';
    typeText += type;
    std::string result(text.substr(0, reference.NameStart));
    if (!reference.Quoted) {
        result += "FILE \"";
        result += name;
        result += '"';
        result += typeText;
        result.append(text.substr(reference.NameStart + reference.NameLength));
        return result;
    }
    result += name;
    result.append(text.substr(reference.NameStart + reference.NameLength,
                              reference.TypeStart - reference.NameStart - reference.NameLength));
    result += typeText;
    result.append(text.substr(reference.TypeStart + reference.TypeLength));
    return result;
}

std::string AudioTypeKeyword(std::string_view fileName) {
    const std::size_t dot = fileName.rfind('.');
    const std::string extension =
        dot == std::string_view::npos ? std::string() : LowerAscii(fileName.substr(dot + 1));
    if (extension == "mp3")
        return "MP3";
    if (extension == "aif" || extension == "aiff")
        return "AIFF";
    return "WAVE";
}

} // namespace velmora
