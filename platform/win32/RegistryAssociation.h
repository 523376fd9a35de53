#pragma once

#include "platform/win32/RegistryKeys.h"

#include <string>

namespace velmora {

// Makes the program at `programPath` the opener of cue sheets for the current user, or points the same
// entries at Notepad, and keeps the "associate" flag under the program's own key. Everything is written
// in the user's hive (Software\Classes stands for HKEY_CLASSES_ROOT, the program's key for the
// machine-wide one): a standard user may not write the machine's keys, and would fail on every start.
// Failures throw velmora::Error with the messages of the registry layer.
class RegistryAssociation {
public:
    RegistryAssociation(std::wstring programPath, RegistryKeys& registry);

    // The class's open command and icon, the Explorer's entry for ".cue", the flag. ".cue" is mapped to
    // the class when no class claims it yet; another program's mapping is left as it is.
    void Associate() const;
    // The class and the Explorer's entry name Notepad; the flag is deleted. ".cue" keeps its mapping.
    void Dissociate() const;

    // Creates the program's key when missing.
    void CreateSettingsKey() const;
    // Any "associate" value counts, whatever its type and data.
    bool FlagExists() const;

    // "\"<program>\" \"%1\"".
    std::wstring OpenCommand() const;

private:
    void WriteEntries(const std::wstring& command, const std::wstring& icon) const;
    void SetString(const std::wstring& key, const std::wstring& name, const std::wstring& value) const;

    std::wstring programPath_;
    RegistryKeys& registry_;
};

inline constexpr const wchar_t* kCueCommandKey = L"Software\\Classes\\cue_auto_file\\Shell\\Open\\command";
inline constexpr const wchar_t* kCueExtensionKey = L"Software\\Classes\\.cue";
inline constexpr const wchar_t* kCueExplorerKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\.cue";
inline constexpr const wchar_t* kSettingsKey = L"Software\\Dastrel\\Velmora";
inline constexpr const wchar_t* kNotepadCommand = L"Notepad.exe \"%1\"";
inline constexpr const wchar_t* kNotepadIcon = L"Notepad.exe,0";

} // namespace velmora
