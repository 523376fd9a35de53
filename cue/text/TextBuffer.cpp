#include "cue/text/TextBuffer.h"

#include "cue/storage/SheetStorage.h"
#include "cue/text/LineEnds.h"
#include "errors/ErrorMessages.h"

#include <cerrno>

namespace velmora {
namespace {

// Turns every CR LF, lone CR and lone LF into CR LF as pieces of text come in, and tells whether the
// result differs from what came in.
class LineBreakNormaliser {
public:
    explicit LineBreakNormaliser(std::string& out) : out_(out) {}

    void Feed(std::string_view piece) {
        std::size_t from = 0;
        while (from < piece.size()) {
            if (afterCr_) {
                afterCr_ = false;
                if (piece[from] == '\n') {
                    ++from;
                    continue;
                }
                changed_ = true;
            }
            const std::size_t lineBreak = FindLineBreak(piece, from);
            out_.append(piece.substr(from, lineBreak - from));
            if (lineBreak == piece.size()) {
                break;
            }
            out_ += "\r\n";
            if (piece[lineBreak] == '\r') {
                afterCr_ = true;
            } else {
                changed_ = true;
            }
            from = lineBreak + 1;
        }
    }

    bool Finish() const { return changed_ || afterCr_; }

private:
    std::string& out_;
    bool afterCr_ = false;
    bool changed_ = false;
};

// Reads the file whole into `text`, normalising line breaks on the way, and its bytes as they are into
// `bytes`; returns whether any line break changed.
bool ReadNormalised(const std::string& path, SheetStorage& storage, std::string& text, std::string& bytes) {
    std::optional<std::string> read = storage.ReadFile(path, TextBuffer::kLargestSheet, FinalLink::Follow);
    if (!read) {
        throw Error(CannotOpenMessage(path, ENOENT));
    }
    bytes = std::move(*read);
    text.reserve(bytes.size() + bytes.size() / 16);
    LineBreakNormaliser normaliser(text);
    normaliser.Feed(bytes);
    return normaliser.Finish();
}

} // namespace

std::string NormaliseLineBreaks(std::string_view text) {
    std::string result;
    result.reserve(text.size() + text.size() / 16);
    LineBreakNormaliser(result).Feed(text);
    return result;
}

void TextBuffer::LoadFromFile(const std::string& path, SheetStorage& storage) {
    std::string text;
    std::string bytes;
    lastLoadConverted_ = ReadNormalised(path, storage, text, bytes);
    utf16_.reset();
    readAs_.reset();
    if (std::optional<std::pair<SheetEncoding, std::string>> utf16 = ReadUtf16(bytes)) {
        utf16_ = utf16->first;
        text = NormaliseLineBreaks(utf16->second);
        lastLoadConverted_ = true;
        lineEnds_ = ReadLineEnds(utf16->second);
    } else {
        lineEnds_ = ReadLineEnds(bytes);
    }
    text_ = std::move(text);
    loadedBytes_ = std::move(bytes);
    indexed_ = false;
}

bool TextBuffer::MatchesLoadedBytes(std::string_view text) const {
    return BytesForDisk(text) == loadedBytes_;
}

SheetEncoding TextBuffer::Encoding() const {
    if (utf16_) {
        return *utf16_;
    }
    return readAs_ ? *readAs_ : DetectEncoding(text_);
}

std::string TextBuffer::BytesForDisk(std::string_view text) const {
    std::string withOwnEnds = WithLineEnds(text, lineEnds_);
    if (!utf16_) {
        return withOwnEnds;
    }
    // Text that came from UTF-16 goes back whole; what the repair put in is UTF-8 too.
    return WriteUtf16(withOwnEnds, *utf16_).value_or(std::move(withOwnEnds));
}

void TextBuffer::SaveToFile(const std::string& path, SheetStorage& storage) const {
    storage.WriteSheet(path, text_);
}

void TextBuffer::SetText(std::string_view text) {
    text_.assign(text);
    indexed_ = false;
}

const std::vector<LineSpan>& TextBuffer::Lines() const {
    if (!indexed_) {
        lines_ = SplitLines(text_);
        indexed_ = true;
    }
    return lines_;
}

std::size_t TextBuffer::LineCount() const {
    return Lines().size();
}

std::string TextBuffer::Line(std::size_t i) const {
    const std::vector<LineSpan>& lines = Lines();
    if (i >= lines.size()) {
        return {};
    }
    const LineSpan& span = lines[i];
    return text_.substr(span.Start, span.Length < kMaxLineLength ? span.Length : kMaxLineLength);
}

} // namespace velmora
