#include "platform/win32/RegistryAssociation.h"

#include "errors/Error.h"
#include "files/win32/WidePaths.h"
#include "messages/Messages.h"

#include <utility>

namespace velmora {

namespace {

constexpr const wchar_t* kClassName = L"cue_auto_file";
constexpr const wchar_t* kFlagName = L"associate";

[[noreturn]] void ThrowValueFailure(const std::wstring& valueName) {
    throw Error(Localized("Failed to set data for '%s'", {Utf8FromWide(valueName)}));
}

} // namespace

RegistryAssociation::RegistryAssociation(std::wstring programPath, RegistryKeys& registry)
    : programPath_(std::move(programPath)), registry_(registry) {}

std::wstring RegistryAssociation::OpenCommand() const {
    return L"\"" + programPath_ + L"\" \"%1\"";
}

void RegistryAssociation::Associate() const {
    WriteEntries(OpenCommand(), programPath_ + L",0");
    const auto mapped = registry_.ReadString(kCueExtensionKey, L"");
    if (!mapped || mapped->empty()) {
        SetString(kCueExtensionKey, L"", kClassName);
    }
    if (!registry_.SetFlag(kSettingsKey, kFlagName)) {
        ThrowValueFailure(kFlagName);
    }
}

void RegistryAssociation::Dissociate() const {
    WriteEntries(kNotepadCommand, kNotepadIcon);
    registry_.DeleteValue(kSettingsKey, kFlagName);
}

void RegistryAssociation::CreateSettingsKey() const {
    if (!registry_.CreateKey(kSettingsKey)) {
        throw Error(Localized("Failed to create key %s", {Utf8FromWide(kSettingsKey)}));
    }
}

bool RegistryAssociation::FlagExists() const {
    return registry_.ValueExists(kSettingsKey, kFlagName);
}

void RegistryAssociation::WriteEntries(const std::wstring& command, const std::wstring& icon) const {
    SetString(kCueCommandKey, L"", command);
    SetString(kCueCommandKey, L"DefaultIcon", icon);
    SetString(kCueExplorerKey, L"Application", command);
    SetString(kCueExplorerKey, L"DefaultIcon", icon);
}

void RegistryAssociation::SetString(const std::wstring& key, const std::wstring& name,
                                    const std::wstring& value) const {
    if (!registry_.SetString(key, name, value)) {
        ThrowValueFailure(name);
    }
}

} // namespace velmora
