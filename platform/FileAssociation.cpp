#include "platform/FileAssociation.h"

#include "errors/ErrorMessages.h"
#include "files/FileMoves.h"
#include "messages/Messages.h"
#include "platform/MimeAppsList.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

namespace velmora {

namespace {

std::string HomeBased(const char* variable, const char* fallback) {
    if (const char* value = std::getenv(variable); value != nullptr && *value == '/') {
        return value;
    }
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + fallback;
}

std::vector<std::string> FolderList(const char* variable, const char* fallback) {
    const char* value = std::getenv(variable);
    std::string list = value != nullptr && *value != '\0' ? value : fallback;
    std::vector<std::string> folders;
    std::stringstream stream(list);
    for (std::string folder; std::getline(stream, folder, ':');) {
        if (!folder.empty() && folder.front() == '/') {
            folders.push_back(folder);
        }
    }
    return folders;
}

std::optional<std::string> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

[[noreturn]] void ThrowValueFailure(const std::string& valueName) {
    throw Error(Localized("Failed to set data for '%s'", {valueName}));
}

// The target of a symbolic link is what gets replaced, so that a linked
// mimeapps.list stays linked, also when the target does not exist yet.
std::string ResolvedForWriting(const std::string& path) {
    namespace fs = std::filesystem;
    fs::path current = path;
    std::error_code error;
    for (int hops = 0; hops < 40 && fs::is_symlink(fs::symlink_status(current, error)); ++hops) {
        const fs::path target = fs::read_symlink(current, error);
        if (error) {
            break;
        }
        current = target.is_absolute() ? target : current.parent_path() / target;
    }
    return current.lexically_normal().string();
}

bool IsUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80           ? 1
                                   : (lead >> 5) == 0x6  ? 2
                                   : (lead >> 4) == 0xE  ? 3
                                   : (lead >> 3) == 0x1E ? 4
                                                         : 0;
        if (length == 0 || i + length > text.size() || (length == 2 && lead < 0xC2)) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        i += length;
    }
    return true;
}

// Desktops read Exec as UTF-8 and take any "%" for a field code, escaped or
// not, so such a path would make an entry they refuse to start.
void RefuseUnlaunchablePath(const std::string& programPath) {
    std::string why;
    if (programPath.find('%') != std::string::npos) {
        why = Localized("it contains \"%s\"", {"%"});
    } else if (!IsUtf8(programPath)) {
        why = Localized("it is not UTF-8");
    }
    if (!why.empty()) {
        throw Error(Localized("The desktop cannot start the program \"%s\": %s", {programPath, why}));
    }
}

// Unchanged values are left alone: the window writes them again on every
// activation.
void WriteValue(const std::string& path, const std::string& content, const std::string& valueName) {
    if (ReadFile(path) == content) {
        return;
    }
    std::error_code error;
    const std::string target = ResolvedForWriting(path);
    std::filesystem::create_directories(std::filesystem::path(target).parent_path(), error);
    try {
        WriteFileAtomically(target, content);
    } catch (const Error&) {
        ThrowValueFailure(valueName);
    }
}

bool IsFlagLine(std::string_view line) {
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) {
        return false;
    }
    std::string_view name = line.substr(0, equals);
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) {
        name.remove_suffix(1);
    }
    while (!name.empty() && (name.front() == ' ' || name.front() == '\t')) {
        name.remove_prefix(1);
    }
    return name == "associate";
}

// The string-value escapes of a desktop entry, applied after the quoting.
std::string EscapeDesktopString(std::string_view text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

bool OpensPlainText(const std::string& entry) {
    std::istringstream lines(entry);
    bool hidden = false;
    bool plainText = false;
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("Hidden=true")) {
            hidden = true;
        }
        // Appended rather than added to a literal: GCC 12 at -O3 takes that for an overlapping copy.
        if (line.starts_with("MimeType=") &&
            std::string(";").append(line, 9).append(";").find(";text/plain;") != std::string::npos) {
            plainText = true;
        }
    }
    return plainText && !hidden;
}

} // namespace

XdgFolders XdgFolders::FromEnvironment() {
    std::vector<std::string> desktops;
    const char* current = std::getenv("XDG_CURRENT_DESKTOP");
    std::stringstream names(current != nullptr ? current : "");
    for (std::string name; std::getline(names, name, ':');) {
        if (name.empty()) {
            continue;
        }
        for (char& c : name) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        desktops.push_back(name);
    }
    return XdgFolders{HomeBased("XDG_DATA_HOME", "/.local/share"), HomeBased("XDG_CONFIG_HOME", "/.config"),
                      FolderList("XDG_DATA_DIRS", "/usr/local/share:/usr/share"),
                      FolderList("XDG_CONFIG_DIRS", "/etc/xdg"), std::move(desktops)};
}

// xdg-mime looks the first word of Exec up with `which` as it stands, quotes and all, so a path is quoted
// only when a desktop would otherwise split or expand it.
std::string DesktopExecLine(const std::string& programPath) {
    if (programPath.find_first_of(" \t\n\"'\\><~|&;$*?#()`") == std::string::npos && !programPath.empty()) {
        return EscapeDesktopString(programPath) + " %f";
    }
    std::string quoted = "\"";
    for (const char c : programPath) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') {
            quoted += '\\';
        }
        quoted += c;
        if (c == '%') {
            quoted += '%';
        }
    }
    quoted += '"';
    return EscapeDesktopString(quoted) + " %f";
}

FileAssociation::FileAssociation(std::string programPath, XdgFolders folders)
    : programPath_(std::move(programPath)), folders_(std::move(folders)) {}

std::string FileAssociation::DesktopEntryPath() const {
    return folders_.DataHome + "/applications/" + kDesktopId;
}

std::string FileAssociation::MimeAppsListPath() const {
    return folders_.ConfigHome + "/mimeapps.list";
}

std::string FileAssociation::SettingsKeyPath() const {
    return folders_.ConfigHome + "/velmora";
}

std::string FileAssociation::SettingsFilePath() const {
    return SettingsKeyPath() + "/velmora.conf";
}

std::string FileAssociation::DesktopEntryText(bool claimsSheets) const {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Velmora\n"
           "GenericName=CUE sheet repair\n"
           "Comment=Repairs CUE sheets\n"
           "Exec=" +
           DesktopExecLine(programPath_) +
           "\n"
           "Icon=velmora\n"
           "Terminal=false\n" +
           std::string(claimsSheets ? "MimeType=application/x-cue;\n" : "") +
           "Categories=AudioVideo;Audio;\n";
}

std::vector<std::string> FileAssociation::MimeAppsLists() const {
    std::vector<std::string> folders{folders_.ConfigHome};
    folders.insert(folders.end(), folders_.ConfigDirs.begin(), folders_.ConfigDirs.end());
    folders.push_back(folders_.DataHome + "/applications");
    for (const auto& folder : folders_.DataDirs) {
        folders.push_back(folder + "/applications");
    }
    std::vector<std::string> lists;
    for (const auto& folder : folders) {
        for (const auto& desktop : folders_.Desktops) {
            lists.push_back(folder + "/" + desktop + "-mimeapps.list");
        }
        lists.push_back(folder + "/mimeapps.list");
    }
    return lists;
}

// The desktop's text editor is the default for text/plain, looked up in the
// places and order the XDG rules give; without one, the first application that
// says it opens text/plain, as the desktop itself would pick it.
std::string FileAssociation::TextEditor() const {
    std::vector<std::string> applicationFolders{folders_.DataHome + "/applications"};
    for (const auto& folder : folders_.DataDirs) {
        applicationFolders.push_back(folder + "/applications");
    }
    std::vector<std::string> lists = MimeAppsLists();
    for (const auto& folder : applicationFolders) {
        lists.push_back(folder + "/defaults.list");
    }
    for (const auto& list : lists) {
        const auto text = ReadFile(list);
        if (!text) {
            continue;
        }
        if (auto editor = DefaultApplication(*text, "text/plain"); editor && *editor != kDesktopId) {
            return *editor;
        }
    }
    for (const auto& folder : applicationFolders) {
        const auto cache = ReadFile(folder + "/mimeinfo.cache");
        for (const auto& id : GroupEntry(cache.value_or(""), "[MIME Cache]", "text/plain")) {
            if (id != kDesktopId) {
                return id;
            }
        }
    }
    for (const auto& folder : applicationFolders) {
        std::error_code error;
        std::vector<std::string> entries;
        for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
             it.increment(error)) {
            if (it->path().extension() == ".desktop" && it->path().filename() != kDesktopId) {
                entries.push_back(it->path().string());
            }
        }
        std::sort(entries.begin(), entries.end());
        for (const auto& entry : entries) {
            if (OpensPlainText(ReadFile(entry).value_or(""))) {
                return std::filesystem::path(entry).filename().string();
            }
        }
    }
    return {};
}

void FileAssociation::SetDefault(const std::optional<std::string>& desktopId) const {
    const std::string path = MimeAppsListPath();
    const std::string current = ReadFile(path).value_or("");
    WriteValue(path, WithDefaultApplication(current, kCueMimeType, desktopId), kCueMimeType);
}

std::vector<std::string> FileAssociation::UserDesktopLists() const {
    std::vector<std::string> lists;
    for (const auto& desktop : folders_.Desktops) {
        if (const std::string list = folders_.ConfigHome + "/" + desktop + "-mimeapps.list"; ReadFile(list)) {
            lists.push_back(list);
        }
    }
    return lists;
}

void FileAssociation::SetRemoved(bool removed) const {
    const std::string path = MimeAppsListPath();
    const std::string current = ReadFile(path).value_or("");
    auto ids = GroupEntry(current, kRemovedGroup, kCueMimeType);
    const auto ours = std::find(ids.begin(), ids.end(), kDesktopId);
    if (removed == (ours != ids.end())) {
        return;
    }
    if (removed) {
        ids.push_back(kDesktopId);
    } else {
        ids.erase(ours);
    }
    WriteValue(path, WithGroupEntry(current, kRemovedGroup, kCueMimeType, ids), kCueMimeType);
}

void FileAssociation::SetFlag(bool present) const {
    const std::string path = SettingsFilePath();
    const auto current = ReadFile(path);
    std::string wanted;
    std::istringstream lines(current.value_or(""));
    for (std::string line; std::getline(lines, line);) {
        if (!IsFlagLine(line)) {
            wanted += line + '\n';
        }
    }
    if (present) {
        wanted += "associate=1\n";
    }
    if (present || current) {
        WriteValue(path, wanted, "associate");
    }
}

void FileAssociation::Associate() const {
    RefuseUnlaunchablePath(programPath_);
    WriteValue(DesktopEntryPath(), DesktopEntryText(true), "Exec");
    SetRemoved(false);
    SetDefault(std::string(kDesktopId));
    // A desktop's own list outranks the plain one: where it names another
    // opener for sheets, our line there is the one to set.
    for (const auto& list : UserDesktopLists()) {
        const std::string text = *ReadFile(list);
        if (const auto current = DefaultApplication(text, kCueMimeType); current && *current != kDesktopId) {
            WriteValue(list, WithDefaultApplication(text, kCueMimeType, std::string(kDesktopId)),
                       kCueMimeType);
        }
    }
    SetFlag(true);
}

void FileAssociation::Dissociate() const {
    const std::string editor = TextEditor();
    const std::optional<std::string> opener =
        editor.empty() ? std::nullopt : std::optional<std::string>(editor);
    SetDefault(opener);
    for (const auto& list : UserDesktopLists()) {
        const std::string text = *ReadFile(list);
        if (DefaultApplication(text, kCueMimeType) == std::optional<std::string>(kDesktopId)) {
            WriteValue(list, WithDefaultApplication(text, kCueMimeType, opener), kCueMimeType);
        }
    }
    SetRemoved(!opener);
    if (!opener && ReadFile(DesktopEntryPath())) {
        WriteValue(DesktopEntryPath(), DesktopEntryText(false), "Exec");
    }
    SetFlag(false);
}

void FileAssociation::CreateSettingsKey() const {
    const std::string key = SettingsKeyPath();
    std::error_code error;
    std::filesystem::create_directories(key, error);
    if (error || !std::filesystem::is_directory(key, error)) {
        throw Error(Localized("Failed to create key %s", {key}));
    }
}

bool FileAssociation::FlagExists() const {
    const auto text = ReadFile(SettingsFilePath());
    if (!text) {
        return false;
    }
    std::istringstream lines(*text);
    for (std::string line; std::getline(lines, line);) {
        if (IsFlagLine(line)) {
            return true;
        }
    }
    return false;
}

} // namespace velmora
