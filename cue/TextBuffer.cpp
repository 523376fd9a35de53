#include "TextBuffer.h"

#include "Error.h"
#include "FileDescriptor.h"
#include "FileMoves.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {
namespace {

std::string ReadWholeFile(const std::string& path) {
    // O_NONBLOCK keeps a FIFO from blocking the open; it is refused below as no regular file.
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.get() < 0)
        throw Error(CannotOpenMessage(path, errno));
    struct stat info {};
    if (::fstat(file.get(), &info) != 0)
        throw Error(CannotOpenMessage(path, errno));
    if (S_ISDIR(info.st_mode))
        throw Error(CannotOpenMessage(path, EISDIR));
    if (!S_ISREG(info.st_mode))
        throw Error(CannotOpenMessage(path, EINVAL));
    // Read straight into the text; a file that grows meanwhile is read to its end all the same.
    std::string content(static_cast<std::size_t>(info.st_size) + 1, '\0');
    std::size_t size = 0;
    for (;;) {
        if (size == content.size())
            content.resize(content.size() * 2);
        const ssize_t got = ::read(file.get(), content.data() + size, content.size() - size);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            throw Error(CannotOpenMessage(path, errno));
        }
        if (got == 0)
            break;
        size += static_cast<std::size_t>(got);
    }
    content.resize(size);
    return content;
}

bool HasOnlyCrLfLineBreaks(std::string_view text) {
    for (std::size_t at = FindLineBreak(text, 0); at < text.size(); at = FindLineBreak(text, at + 2))
        if (text[at] != '\r' || at + 1 == text.size() || text[at + 1] != '\n')
            return false;
    return true;
}

} // namespace

std::string NormaliseLineBreaks(std::string_view text) {
    std::string result;
    result.reserve(text.size() + text.size() / 32);
    std::size_t from = 0;
    while (from < text.size()) {
        const std::size_t lineBreak = FindLineBreak(text, from);
        result.append(text.substr(from, lineBreak - from));
        if (lineBreak == text.size())
            break;
        result += "\r\n";
        from = lineBreak + 1;
        if (text[lineBreak] == '\r' && from < text.size() && text[from] == '\n')
            ++from;
    }
    return result;
}

void TextBuffer::LoadFromFile(const std::string& path) {
    std::string bytes = ReadWholeFile(path);
    lastLoadConverted_ = !HasOnlyCrLfLineBreaks(bytes);
    text_ = lastLoadConverted_ ? NormaliseLineBreaks(bytes) : std::move(bytes);
    indexed_ = false;
}

void TextBuffer::SaveToFile(const std::string& path) const {
    WriteFileAtomically(path, text_);
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
    if (i >= lines.size())
        return {};
    const LineSpan& span = lines[i];
    return text_.substr(span.Start, span.Length < MaxLineLength ? span.Length : MaxLineLength);
}

} // namespace velmora
