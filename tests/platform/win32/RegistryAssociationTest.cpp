#include "platform/win32/RegistryAssociation.h"

#include "FakeRegistry.h"
#include "errors/Error.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>
#include <windows.h>

namespace velmora {
namespace {

const std::wstring kProgram = L"C:\\Programmes\\Björk — 東京\\velmora.exe";
const std::wstring kCommand = L"\"C:\\Programmes\\Björk — 東京\\velmora.exe\" \"%1\"";
const std::wstring kIcon = L"C:\\Programmes\\Björk — 東京\\velmora.exe,0";

// Read straight from the registry, not through the code under test.
std::wstring StoredString(const std::wstring& key, const std::wstring& name) {
    wchar_t buffer[1024] = {};
    DWORD size = sizeof buffer;
    if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, buffer, &size) !=
        ERROR_SUCCESS) {
        return L"<missing>";
    }
    return buffer;
}

bool StoredFlag(const std::wstring& key, const std::wstring& name, DWORD& value) {
    DWORD size = sizeof value;
    return RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), RRF_RT_REG_DWORD, nullptr, &value,
                        &size) == ERROR_SUCCESS;
}

void SetRaw(const std::wstring& key, const std::wstring& name, DWORD type, const void* data, DWORD size) {
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), type, data, size), ERROR_SUCCESS);
}

class RegistryAssociationTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const wchar_t* key :
             {L"Software\\Classes\\cue_auto_file", kCueExtensionKey, kCueExplorerKey, kSettingsKey}) {
            RegDeleteTreeW(HKEY_CURRENT_USER, key);
            RegDeleteKeyW(HKEY_CURRENT_USER, key);
        }
    }

    CurrentUserRegistry registry_;
    RegistryAssociation association_{kProgram, registry_};
};

TEST_F(RegistryAssociationTest, TickingWritesTheProgramIntoTheUsersHive) {
    association_.Associate();
    EXPECT_EQ(StoredString(kCueCommandKey, L""), kCommand);
    EXPECT_EQ(StoredString(kCueCommandKey, L"DefaultIcon"), kIcon);
    EXPECT_EQ(StoredString(kCueExplorerKey, L"Application"), kCommand);
    EXPECT_EQ(StoredString(kCueExplorerKey, L"DefaultIcon"), kIcon);
    EXPECT_EQ(StoredString(kCueExtensionKey, L""), L"cue_auto_file");
    DWORD flag = 0;
    ASSERT_TRUE(StoredFlag(kSettingsKey, L"associate", flag));
    EXPECT_EQ(flag, 1u);
    EXPECT_TRUE(association_.FlagExists());
}

TEST_F(RegistryAssociationTest, UntickingPointsTheEntriesAtNotepadAndDeletesTheFlag) {
    association_.Associate();
    association_.Dissociate();
    EXPECT_EQ(StoredString(kCueCommandKey, L""), L"Notepad.exe \"%1\"");
    EXPECT_EQ(StoredString(kCueCommandKey, L"DefaultIcon"), L"Notepad.exe,0");
    EXPECT_EQ(StoredString(kCueExplorerKey, L"Application"), L"Notepad.exe \"%1\"");
    EXPECT_EQ(StoredString(kCueExplorerKey, L"DefaultIcon"), L"Notepad.exe,0");
    EXPECT_EQ(StoredString(kCueExtensionKey, L""), L"cue_auto_file");
    DWORD flag = 0;
    EXPECT_FALSE(StoredFlag(kSettingsKey, L"associate", flag));
    EXPECT_FALSE(association_.FlagExists());
}

TEST_F(RegistryAssociationTest, AnotherProgramsMappingOfTheExtensionIsKept) {
    const std::wstring other = L"other_player.cue";
    SetRaw(kCueExtensionKey, L"", REG_SZ, other.c_str(),
           static_cast<DWORD>((other.size() + 1) * sizeof(wchar_t)));
    association_.Associate();
    EXPECT_EQ(StoredString(kCueExtensionKey, L""), other);
}

TEST_F(RegistryAssociationTest, AFlagOfAnyTypeOrDataCounts) {
    const DWORD zero = 0;
    SetRaw(kSettingsKey, L"associate", REG_DWORD, &zero, sizeof zero);
    EXPECT_TRUE(association_.FlagExists());
    SetRaw(kSettingsKey, L"associate", REG_SZ, L"", sizeof(wchar_t));
    EXPECT_TRUE(association_.FlagExists());
}

TEST_F(RegistryAssociationTest, TheSettingsKeyIsCreatedWhenMissing) {
    association_.CreateSettingsKey();
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_FALSE(association_.FlagExists());
}

struct RefusedKeyCase {
    const wchar_t* refusedKey;
    bool tick;
    const char* message;
    // What was written before the failure stays written.
    std::vector<std::pair<std::wstring, std::wstring>> keptValues;
};

TEST(RegistryAssociationFailureTest, ARefusedKeyStopsWithTheValuesName) {
    const std::vector<RefusedKeyCase> cases = {
        {kCueCommandKey, true, "Echec à la définition des données pour ''", {}},
        {kCueCommandKey, false, "Echec à la définition des données pour ''", {}},
        {kCueExplorerKey,
         true,
         "Echec à la définition des données pour 'Application'",
         {{kCueCommandKey, L""}, {kCueCommandKey, L"DefaultIcon"}}},
        {kCueExtensionKey,
         true,
         "Echec à la définition des données pour ''",
         {{kCueExplorerKey, L"Application"}, {kCueExplorerKey, L"DefaultIcon"}}},
        {kSettingsKey,
         true,
         "Echec à la définition des données pour 'associate'",
         {{kCueCommandKey, L""}, {kCueExtensionKey, L""}}},
    };
    for (const RefusedKeyCase& testCase : cases) {
        FakeRegistry registry;
        registry.RefusedKeys.insert(testCase.refusedKey);
        const RegistryAssociation association(kProgram, registry);
        try {
            testCase.tick ? association.Associate() : association.Dissociate();
            ADD_FAILURE() << testCase.message << ": no error";
        } catch (const Error& error) {
            EXPECT_STREQ(error.what(), testCase.message);
        }
        for (const auto& value : testCase.keptValues) {
            EXPECT_TRUE(registry.ValueExists(value.first, value.second)) << testCase.message;
        }
    }
}

TEST(RegistryAssociationFailureTest, ASettingsKeyThatCannotBeCreatedNamesTheKey) {
    FakeRegistry registry;
    registry.RefusedKeys.insert(kSettingsKey);
    const RegistryAssociation association(kProgram, registry);
    try {
        association.CreateSettingsKey();
        ADD_FAILURE() << "no error";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "Echec à la création de la clé Software\\Dastrel\\Velmora");
    }
}

// Unticking with the settings key refused still points the entries at Notepad: deleting the flag is
// not checked, as there is nothing left to undo.
TEST(RegistryAssociationFailureTest, UntickingIgnoresARefusedFlagDeletion) {
    FakeRegistry registry;
    registry.Values[{kSettingsKey, L"associate"}] = L"1";
    registry.RefusedKeys.insert(kSettingsKey);
    const RegistryAssociation association(kProgram, registry);
    association.Dissociate();
    EXPECT_EQ(registry.ReadString(kCueExplorerKey, L"Application"),
              std::optional<std::wstring>(kNotepadCommand));
}

} // namespace
} // namespace velmora
