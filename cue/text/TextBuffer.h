#pragma once

#include "cue/text/SheetEncoding.h"
#include "cue/text/SheetLines.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

class SheetStorage;

// The sheet as the repair sees it: one text whose lines are separated by CR LF after a load.
class TextBuffer {
public:
    static constexpr std::size_t kMaxLineLength = 4096;

    // No sheet is this large; a larger file is refused before it is read.
    static constexpr std::size_t kLargestSheet = 16 << 20;

    // Reads the file whole through `storage` and turns every CR LF, lone CR and lone LF into CR LF; a UTF-16
    // file with its byte order mark is read into UTF-8. Throws Error "Impossible d'ouvrir le fichier ..."
    // when the file cannot be read or is larger than kLargestSheet ("File too large").
    void LoadFromFile(const std::string& path, SheetStorage& storage);
    // Writes the text byte for byte, atomically; an existing file keeps its mode.
    // Throws Error "Impossible de créer le fichier ..." on failure.
    void SaveToFile(const std::string& path, SheetStorage& storage) const;

    const std::string& Text() const { return text_; }
    // Copies into the room the buffer already has, so repeated runs do not allocate afresh.
    void SetText(std::string_view text);

    // An empty last line after a final line break is not counted.
    std::size_t LineCount() const;
    // Line i without its line break, cut to kMaxLineLength; empty at or past the count.
    std::string Line(std::size_t i) const;

    // True when the last load had to change line breaks, so the text differs from the file's bytes.
    bool LastLoadConvertedLineBreaks() const { return lastLoadConverted_; }
    // The file's bytes as the last load read them, before any line break was changed.
    const std::string& LoadedBytes() const { return loadedBytes_; }
    // The sheet's encoding: UTF-16 when it was loaded from UTF-16 (and is held as UTF-8), else the one
    // the repair settled on for this load, else what the text looks like.
    SheetEncoding Encoding() const;
    // Settles the encoding of the loaded sheet until the next load.
    void SetEncoding(SheetEncoding encoding) { readAs_ = encoding; }
    // `text` as the file's bytes: each line break as the file had it (lines the repair added take the
    // sheet's usual one), in UTF-16 again for a sheet loaded from UTF-16.
    std::string BytesForDisk(std::string_view text) const;
    // True when `text` would be written as the very bytes the last load read.
    bool MatchesLoadedBytes(std::string_view text) const;

private:
    const std::vector<LineSpan>& Lines() const;

    std::string text_;
    std::string loadedBytes_;
    // Set while the text was loaded from UTF-16.
    std::optional<SheetEncoding> utf16_;
    std::optional<SheetEncoding> readAs_;
    // The file's own line breaks, one letter each (see LineEnds).
    std::string lineEnds_;
    bool lastLoadConverted_ = false;
    // Built on first use after a change, so reading every line in turn stays linear.
    mutable std::vector<LineSpan> lines_;
    mutable bool indexed_ = false;
};

// Returns the text with every CR LF, lone CR and lone LF turned into CR LF.
std::string NormaliseLineBreaks(std::string_view text);

} // namespace velmora
