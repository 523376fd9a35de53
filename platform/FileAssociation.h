#pragma once

#include <optional>
#include <string>
#include <vector>

namespace velmora {

// The XDG base folders the association reads and writes.
struct XdgFolders {
    std::string DataHome;
    std::string ConfigHome;
    std::vector<std::string> DataDirs;
    std::vector<std::string> ConfigDirs;
    // XDG_CURRENT_DESKTOP's names, lower-cased: each has its own mimeapps.list.
    std::vector<std::string> Desktops;

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
    // Our line of mimeapps.list, and of the user's desktop-specific lists
    // where it names us, names the text editor: the default for text/plain,
    // else the first that opens it. Without an editor Velmora is listed under
    // [Removed Associations] and its entry stops claiming sheets, so that
    // nothing picks it by itself. The flag is removed.
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
    std::string DesktopEntryText(bool claimsSheets) const;
    // Every mimeapps.list in the order the desktop reads them.
    std::vector<std::string> MimeAppsLists() const;
    std::string TextEditor() const;
    void SetDefault(const std::optional<std::string>& desktopId) const;
    // The user's desktop-specific lists that exist.
    std::vector<std::string> UserDesktopLists() const;
    void SetRemoved(bool removed) const;
    void SetFlag(bool present) const;

    std::string programPath_;
    XdgFolders folders_;
};

inline constexpr const char* kCueMimeType = "application/x-cue";
inline constexpr const char* kDesktopId = "velmora.desktop";

} // namespace velmora
