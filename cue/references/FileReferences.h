#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// One FILE line of a sheet and where its pieces lie in the whole text. The keyword is FILE in any
// letter case, first on its line after blanks; the name is quoted ("a b.wav") or the word after FILE;
// the type keyword is the last word after the name.
struct FileReference {
    std::size_t LineNumber = 0; // counted from 1
    std::size_t LineStart = 0;
    std::size_t LineLength = 0;
    // Where the name lies: between the quotes when Quoted; otherwise the bare word, or from an opening
    // quote that is never closed to the line's end. NameLength 0 and NameStart at the line's end when
    // the line has no name.
    std::size_t NameStart = 0;
    std::size_t NameLength = 0;
    bool Quoted = false;
    bool Unclosed = false;
    // The type keyword; TypeLength 0 and TypeStart right after the name when there is none.
    std::size_t TypeStart = 0;
    std::size_t TypeLength = 0;
    // The trimmed name.
    std::string Name;
};

// Every FILE line, in order.
std::vector<FileReference> FindFileReferences(std::string_view text);

// The text with the reference's name and type keyword replaced and every other byte kept. A bare name
// stays bare unless the new one holds a blank; a reference without a type keyword gets one after its
// name.
std::string RenameFileReference(std::string_view text, const FileReference& reference, std::string_view name,
                                std::string_view type);

// The type keyword the cue format has for an audio file: MP3, AIFF, or WAVE for everything else.
std::string AudioTypeKeyword(std::string_view fileName);

} // namespace velmora
