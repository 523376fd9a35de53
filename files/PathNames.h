#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace velmora {

// Where the last folder separator of a path lies: "/" on Linux, "\" or "/" on Windows; npos for none.
std::size_t LastSeparator(std::string_view path);

// Where the last character lies after which a file's extension may start: the last separator, and on
// Windows also the last ":" (of a drive or a stream); npos for none.
std::size_t LastNameBoundary(std::string_view path);

// True when the two names (UTF-8) name the same entry of a folder: byte for byte on Linux, letter case
// ignored on Windows, whose file systems find a name in any case.
bool SameFileName(std::string_view a, std::string_view b);

// The folder a path lies in, without a trailing separator: "." for a bare name, the root itself for one
// at the root.
std::string ContainingFolder(const std::string& path);

// The file name part of a path: what follows its last separator.
std::string_view FileNamePart(std::string_view path);
// The folder part of a path, up to and including its last separator; empty when it has none.
std::string_view FolderPart(std::string_view path);

// Paths are UTF-8 (or bytes as they are) in the engine; the standard library would read a plain string
// in the ANSI code page on Windows.
std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string Utf8FromPath(const std::filesystem::path& path);

} // namespace velmora
