#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// One FILE line of a sheet and where its pieces lie in the whole text.
struct FileReference {
    std::size_t LineNumber = 0; // counted from 1
    std::size_t LineStart = 0;
    std::size_t LineLength = 0;
    // The text between the first two double quotes, untrimmed; NameLength 0 and NameStart at the line's
    // end when the line has no quoted name.
    std::size_t NameStart = 0;
    std::size_t NameLength = 0;
    bool Quoted = false;
    // The first word after the closing quote; TypeLength 0 when there is none.
    std::size_t TypeStart = 0;
    std::size_t TypeLength = 0;
    // The trimmed name.
    std::string Name;
};

// Every line whose first word, after leading blanks, is FILE, in order.
std::vector<FileReference> FindFileReferences(std::string_view text);

// The text with the reference's name and type keyword replaced and every other byte kept. A reference
// without a type keyword gets one after its closing quote.
std::string RenameFileReference(std::string_view text, const FileReference& reference, std::string_view name,
                                std::string_view type);

// The type keyword the cue format has for an audio file: MP3, AIFF, or WAVE for everything else.
std::string AudioTypeKeyword(std::string_view fileName);

} // namespace velmora
