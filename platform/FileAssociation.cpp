#include "platform/FileAssociation.h"

#include "cue/Error.h"
#include "cue/FileMoves.h"
#include "platform/MimeAppsList.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

namespace velmora {

namespace {

std::string HomeBased(const char* variable, const char* fallback) {
    if (const char* value = std::getenv(variable); value != nullptr && *value == '/')
        return value;
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + fallback;
}

std::vector<std::string> FolderList(const char* variable, const char* fallback) {
    const char* value = std::getenv(variable);
    std::string list = value != nullptr && *value != '\0' ? value : fallback;
    std::vector<std::string> folders;
    std::stringstream stream(list);
    for (std::string folder; std::getline(stream, folder, ':');)
        if (!folder.empty() && folder.front() == '/')
            folders.push_back(folder);
    return folders;
}

std::optional<std::string> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

[[noreturn]] void ThrowValueFailure(const std::string& valueName) {
    throw Error("Echec à la définition des données pour '" + valueName + "'");
}

// The target of a symbolic link is what gets replaced, so that a linked
// mimeapps.list stays linked, also when the target does not exist yet.
std::string ResolvedForWriting(const std::string& path) {
    namespace fs = std::filesystem;
    fs::path current = path;
    std::error_code error;
    for (int hops = 0; hops < 40 && fs::is_symlink(fs::symlink_status(current, error)); ++hops) {
        const fs::path target = fs::read_symlink(current, error);
        if (error)
            break;
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
        if (length == 0 || i + length > text.size() || (length == 2 && lead < 0xC2))
            return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        i += length;
    }
    return true;
}

// Desktops read Exec as UTF-8 and take any "%" for a field code, escaped or
// not, so such a path would make an entry they refuse to start.
void RefuseUnlaunchablePath(const std::string& programPath) {
    const char* why = programPath.find('%') != std::string::npos ? "il contient « % »"
                      : !IsUtf8(programPath)                     ? "il n'est pas en UTF-8"
                                                                 : nullptr;
    if (why != nullptr)
        throw Error("Le bureau ne peut pas lancer le programme \"" + programPath + "\" : " + why);
}

// Unchanged values are left alone: the window writes them again on every
// activation.
void WriteValue(const std::string& path, const std::string& content, const std::string& valueName) {
    if (ReadFile(path) == content)
        return;
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
    if (equals == std::string_view::npos)
        return false;
    std::string_view name = line.substr(0, equals);
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t'))
        name.remove_suffix(1);
    while (!name.empty() && (name.front() == ' ' || name.front() == '\t'))
        name.remove_prefix(1);
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

} // namespace

XdgFolders XdgFolders::FromEnvironment() {
    return XdgFolders{HomeBased("XDG_DATA_HOME", "/.local/share"), HomeBased("XDG_CONFIG_HOME", "/.config"),
                      FolderList("XDG_DATA_DIRS", "/usr/local/share:/usr/share"),
                      FolderList("XDG_CONFIG_DIRS", "/etc/xdg")};
}

std::string DesktopExecLine(const std::string& programPath) {
    std::string quoted = "\"";
    for (const char c : programPath) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        quoted += c;
        if (c == '%')
            quoted += '%';
    }
    quoted += '"';
    return EscapeDesktopString(quoted) + " %f";
}

FileAssociation::FileAssociation(std::string programPath, XdgFolders folders)
    : programPath_(std::move(programPath)), folders_(std::move(folders)) {}

std::string FileAssociation::DesktopEntryPath() const {
    return folders_.dataHome + "/applications/" + kDesktopId;
}

std::string FileAssociation::MimeAppsListPath() const {
    return folders_.configHome + "/mimeapps.list";
}

std::string FileAssociation::SettingsKeyPath() const {
    return folders_.configHome + "/velmora";
}

std::string FileAssociation::SettingsFilePath() const {
    return SettingsKeyPath() + "/velmora.conf";
}

std::string FileAssociation::DesktopEntryText() const {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Velmora\n"
           "GenericName=CUE sheet repair\n"
           "Comment=Repairs CUE sheets\n"
           "Exec=" +
           DesktopExecLine(programPath_) +
           "\n"
           "Icon=velmora\n"
           "Terminal=false\n"
           "MimeType=application/x-cue;\n"
           "Categories=AudioVideo;Audio;\n";
}

// The desktop's text editor is whatever opens text/plain, looked up in the
// places and order the XDG rules give.
std::string FileAssociation::TextEditor() const {
    std::vector<std::string> lists{folders_.configHome + "/mimeapps.list"};
    for (const auto& folder : folders_.configDirs)
        lists.push_back(folder + "/mimeapps.list");
    lists.push_back(folders_.dataHome + "/applications/mimeapps.list");
    for (const auto& folder : folders_.dataDirs)
        lists.push_back(folder + "/applications/mimeapps.list");
    for (const auto& folder : folders_.dataDirs)
        lists.push_back(folder + "/applications/defaults.list");
    for (const auto& list : lists) {
        const auto text = ReadFile(list);
        if (!text)
            continue;
        if (auto editor = DefaultApplication(*text, "text/plain"); editor && *editor != kDesktopId)
            return *editor;
    }
    return {};
}

void FileAssociation::SetDefault(const std::optional<std::string>& desktopId) const {
    const std::string path = MimeAppsListPath();
    const std::string current = ReadFile(path).value_or("");
    WriteValue(path, WithDefaultApplication(current, kCueMimeType, desktopId), kCueMimeType);
}

void FileAssociation::SetFlag(bool present) const {
    const std::string path = SettingsFilePath();
    const auto current = ReadFile(path);
    std::string wanted;
    std::istringstream lines(current.value_or(""));
    for (std::string line; std::getline(lines, line);)
        if (!IsFlagLine(line))
            wanted += line + '\n';
    if (present)
        wanted += "associate=1\n";
    if (present || current)
        WriteValue(path, wanted, "associate");
}

void FileAssociation::Associate() const {
    RefuseUnlaunchablePath(programPath_);
    WriteValue(DesktopEntryPath(), DesktopEntryText(), "Exec");
    SetDefault(std::string(kDesktopId));
    SetFlag(true);
}

void FileAssociation::Dissociate() const {
    const std::string editor = TextEditor();
    SetDefault(editor.empty() ? std::nullopt : std::optional<std::string>(editor));
    SetFlag(false);
}

void FileAssociation::CreateSettingsKey() const {
    const std::string key = SettingsKeyPath();
    std::error_code error;
    std::filesystem::create_directories(key, error);
    if (error || !std::filesystem::is_directory(key, error))
        throw Error("Echec à la création de la clé " + key);
}

bool FileAssociation::FlagExists() const {
    const auto text = ReadFile(SettingsFilePath());
    if (!text)
        return false;
    std::istringstream lines(*text);
    for (std::string line; std::getline(lines, line);)
        if (IsFlagLine(line))
            return true;
    return false;
}

} // namespace velmora
