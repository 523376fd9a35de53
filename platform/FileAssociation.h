#pragma once

#include <optional>
#include <string>
#include <vector>

namespace velmora {

// The XDG base folders the association reads and writes.
struct XdgFolders {
    std::string dataHome;
    std::string configHome;
    std::vector<std::string> dataDirs;
    std::vector<std::string> configDirs;

    static XdgFolders FromEnvironment();
};

// Exec value of a desktop entry that starts `programPath` with one file: the
// path quoted and escaped as desktop entries require, then " %f".
std::string DesktopExecLine(const std::string& programPath);

// Makes `programPath` the opener of cue sheets for the current user, or hands
// them back to the desktop's text editor, and keeps the "associate" flag in
// Velmora's settings file. Failures throw velmora::Error with the French
// messages of the registry layer this stands for.
class FileAssociation {
public:
    FileAssociation(std::string programPath, XdgFolders folders);

    // velmora.desktop in the data home, our line of mimeapps.list, flag set.
    void Associate() const;
    // Our line of mimeapps.list names the text editor (the default for
    // text/plain, none when there is none), flag removed.
    void Dissociate() const;

    // Creates the folder of the settings file when missing.
    void CreateSettingsKey() const;
    // Any "associate" line counts, whatever its value.
    bool FlagExists() const;

    std::string DesktopEntryPath() const;
    std::string MimeAppsListPath() const;
    std::string SettingsKeyPath() const;
    std::string SettingsFilePath() const;

private:
    std::string DesktopEntryText() const;
    std::string TextEditor() const;
    void SetDefault(const std::optional<std::string>& desktopId) const;
    void SetFlag(bool present) const;

    std::string programPath_;
    XdgFolders folders_;
};

inline constexpr const char* kCueMimeType = "application/x-cue";
inline constexpr const char* kDesktopId = "velmora.desktop";

} // namespace velmora
