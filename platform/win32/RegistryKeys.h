#pragma once

#include <optional>
#include <string>

namespace velmora {

// Keys of one registry hive, named by their path below it. Keys are created when missing; failures are
// answered, not thrown, so that the caller words them. Tests put a registry that fails in its place.
class RegistryKeys {
public:
    virtual ~RegistryKeys() = default;

    virtual bool CreateKey(const std::wstring& key) = 0;
    // REG_SZ, with its terminating NUL; the empty name is the key's default value.
    virtual bool SetString(const std::wstring& key, const std::wstring& name, const std::wstring& value) = 0;
    // REG_DWORD 1.
    virtual bool SetFlag(const std::wstring& key, const std::wstring& name) = 0;
    // Missing values and keys are no failure.
    virtual void DeleteValue(const std::wstring& key, const std::wstring& name) = 0;
    // Whatever the value's type and data.
    virtual bool ValueExists(const std::wstring& key, const std::wstring& name) const = 0;
    // Nothing for a missing value or one that is no string.
    virtual std::optional<std::wstring> ReadString(const std::wstring& key,
                                                   const std::wstring& name) const = 0;
};

// HKEY_CURRENT_USER: the hive a standard user may write.
class CurrentUserRegistry : public RegistryKeys {
public:
    bool CreateKey(const std::wstring& key) override;
    bool SetString(const std::wstring& key, const std::wstring& name, const std::wstring& value) override;
    bool SetFlag(const std::wstring& key, const std::wstring& name) override;
    void DeleteValue(const std::wstring& key, const std::wstring& name) override;
    bool ValueExists(const std::wstring& key, const std::wstring& name) const override;
    std::optional<std::wstring> ReadString(const std::wstring& key, const std::wstring& name) const override;
};

} // namespace velmora
