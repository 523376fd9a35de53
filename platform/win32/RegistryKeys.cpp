#include "platform/win32/RegistryKeys.h"

#include <windows.h>

namespace velmora {

namespace {

// An open key, closed once.
class OpenKey {
public:
    OpenKey(const std::wstring& path, bool create) {
        const LONG status =
            create ? RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                     KEY_ALL_ACCESS, nullptr, &key_, nullptr)
                   : RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key_);
        if (status != ERROR_SUCCESS) {
            key_ = nullptr;
        }
    }
    ~OpenKey() {
        if (key_ != nullptr) {
            RegCloseKey(key_);
        }
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;

    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

bool SetValue(const std::wstring& path, const std::wstring& name, DWORD type, const void* data, DWORD size) {
    const OpenKey key(path, true);
    return key.get() != nullptr && RegSetValueExW(key.get(), name.c_str(), 0, type,
                                                  static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
}

} // namespace

bool CurrentUserRegistry::CreateKey(const std::wstring& key) {
    return OpenKey(key, true).get() != nullptr;
}

bool CurrentUserRegistry::SetString(const std::wstring& key, const std::wstring& name,
                                    const std::wstring& value) {
    const auto size = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return SetValue(key, name, REG_SZ, value.c_str(), size);
}

bool CurrentUserRegistry::SetFlag(const std::wstring& key, const std::wstring& name) {
    const DWORD one = 1;
    return SetValue(key, name, REG_DWORD, &one, sizeof one);
}

void CurrentUserRegistry::DeleteValue(const std::wstring& key, const std::wstring& name) {
    const OpenKey open(key, true);
    if (open.get() != nullptr) {
        RegDeleteValueW(open.get(), name.c_str());
    }
}

bool CurrentUserRegistry::ValueExists(const std::wstring& key, const std::wstring& name) const {
    const OpenKey open(key, false);
    return open.get() != nullptr &&
           RegQueryValueExW(open.get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

std::optional<std::wstring> CurrentUserRegistry::ReadString(const std::wstring& key,
                                                            const std::wstring& name) const {
    const OpenKey open(key, false);
    DWORD type = 0;
    DWORD size = 0;
    if (open.get() == nullptr ||
        RegQueryValueExW(open.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return std::nullopt;
    }
    std::wstring value(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    if (RegQueryValueExW(open.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value.data()),
                         &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.resize(value.find(L'\0') == std::wstring::npos ? size / sizeof(wchar_t) : value.find(L'\0'));
    return value;
}

} // namespace velmora
