#include "cue/references/FileReferences.h"

#include "cue/text/CueText.h"
#include "cue/text/SheetLines.h"
#include "text/AsciiCase.h"

namespace velmora {
namespace {

// Words of a cue line are separated by spaces and tabs.
bool IsSeparator(char c) {
    return c == ' ' || c == '\t';
}

bool StartsWithFileKeyword(std::string_view line) {
    if (!StartsWithIgnoringAsciiCase(line, "FILE")) {
        return false;
    }
    return line.size() == 4 || IsSeparator(line[4]) || line[4] == '"';
}

// Reads the name and type of the FILE line `line`, whose keyword ends at `at`.
void ReadNameAndType(std::string_view line, std::size_t at, std::size_t lineStart, FileReference& reference) {
    while (at < line.size() && IsSeparator(line[at])) {
        ++at;
    }
    std::size_t afterName = at;
    if (at < line.size() && line[at] == '"') {
        const std::size_t close = line.find('"', at + 1);
        reference.Quoted = close != std::string_view::npos;
        reference.Unclosed = !reference.Quoted;
        const std::size_t nameStart = reference.Quoted ? at + 1 : at;
        afterName = reference.Quoted ? close + 1 : line.size();
        reference.NameStart = lineStart + nameStart;
        reference.NameLength = (reference.Quoted ? close : line.size()) - nameStart;
        reference.Name = Trim(line.substr(at + 1, (reference.Quoted ? close : line.size()) - at - 1));
    } else {
        while (afterName < line.size() && !IsSeparator(line[afterName])) {
            ++afterName;
        }
        reference.NameStart = lineStart + at;
        reference.NameLength = afterName - at;
        reference.Name = std::string(line.substr(at, afterName - at));
    }
    std::size_t end = line.size();
    while (end > afterName && IsSeparator(line[end - 1])) {
        --end;
    }
    std::size_t word = end;
    while (word > afterName && !IsSeparator(line[word - 1])) {
        --word;
    }
    // The type keyword stands apart from the name.
    const bool hasType = word < end && word > afterName;
    reference.TypeStart = lineStart + (hasType ? word : afterName);
    reference.TypeLength = hasType ? end - word : 0;
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
        if (!StartsWithFileKeyword(line.substr(blanks))) {
            continue;
        }
        FileReference reference;
        reference.LineNumber = number;
        reference.LineStart = span.Start;
        reference.LineLength = span.Length;
        ReadNameAndType(line, blanks + 4, span.Start, reference);
        references.push_back(std::move(reference));
    }
    return references;
}

std::string RenameFileReference(std::string_view text, const FileReference& reference, std::string_view name,
                                std::string_view type) {
    const bool needsQuotes = name.find_first_of(" \t") != std::string_view::npos || name.empty();
    const bool noName = !reference.Quoted && !reference.Unclosed && reference.NameLength == 0;
    const bool quoted = reference.Unclosed || noName || (!reference.Quoted && needsQuotes);
    std::string written;
    if (noName) {
        written += ' ';
    }
    if (quoted) {
        written += '"';
    }
    written += name;
    if (quoted) {
        written += '"';
    }
    std::string typeText;
    if (reference.TypeLength == 0 && !type.empty()) {
        typeText += ' ';
    }
    typeText += type;
    const std::size_t nameEnd = reference.NameStart + reference.NameLength;
    std::string result(text.substr(0, reference.NameStart));
    result += written;
    result.append(text.substr(nameEnd, reference.TypeStart - nameEnd));
    result += typeText;
    result.append(text.substr(reference.TypeStart + reference.TypeLength));
    return result;
}

std::string AudioTypeKeyword(std::string_view fileName) {
    const std::size_t dot = fileName.rfind('.');
    const std::string extension =
        dot == std::string_view::npos ? std::string() : UpperAscii(fileName.substr(dot + 1));
    if (extension == "MP3") {
        return "MP3";
    }
    if (extension == "AIF" || extension == "AIFF") {
        return "AIFF";
    }
    return "WAVE";
}

} // namespace velmora
