#include "TextBuffer.h"

#include "Error.h"
#include "FileMoves.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {
namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

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
    std::string content;
    content.reserve(static_cast<std::size_t>(info.st_size));
    char chunk[65536];
    for (;;) {
        const ssize_t got = ::read(file.get(), chunk, sizeof chunk);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            throw Error(CannotOpenMessage(path, errno));
        }
        if (got == 0)
            break;
        content.append(chunk, static_cast<std::size_t>(got));
    }
    return content;
}

} // namespace

std::string NormaliseLineBreaks(std::string_view text) {
    std::string result;
    result.reserve(text.size() + text.size() / 32);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            result += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else if (c == '\n') {
            result += "\r\n";
        } else {
            result += c;
        }
    }
    return result;
}

void TextBuffer::LoadFromFile(const std::string& path) {
    const std::string bytes = ReadWholeFile(path);
    std::string normalised = NormaliseLineBreaks(bytes);
    lastLoadConverted_ = normalised != bytes;
    SetText(std::move(normalised));
}

void TextBuffer::SaveToFile(const std::string& path) const {
    WriteFileAtomically(path, text_);
}

void TextBuffer::SetText(std::string text) {
    text_ = std::move(text);
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
