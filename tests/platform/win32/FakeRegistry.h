#pragma once

#include "platform/win32/RegistryKeys.h"

#include <map>
#include <set>
#include <string>
#include <utility>

namespace velmora {

// A registry in memory whose keys may be made to refuse every write, as the machine's keys refuse a
// standard user.
class FakeRegistry : public RegistryKeys {
public:
    std::set<std::wstring> RefusedKeys;
    std::map<std::pair<std::wstring, std::wstring>, std::wstring> Values;

    bool CreateKey(const std::wstring& key) override;
    bool SetString(const std::wstring& key, const std::wstring& name, const std::wstring& value) override;
    bool SetFlag(const std::wstring& key, const std::wstring& name) override;
    void DeleteValue(const std::wstring& key, const std::wstring& name) override;
    bool ValueExists(const std::wstring& key, const std::wstring& name) const override;
    std::optional<std::wstring> ReadString(const std::wstring& key, const std::wstring& name) const override;
};

} // namespace velmora
