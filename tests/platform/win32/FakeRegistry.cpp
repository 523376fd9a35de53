#include "FakeRegistry.h"

namespace velmora {

bool FakeRegistry::CreateKey(const std::wstring& key) {
    return !RefusedKeys.contains(key);
}

bool FakeRegistry::SetString(const std::wstring& key, const std::wstring& name, const std::wstring& value) {
    if (RefusedKeys.contains(key)) {
        return false;
    }
    Values[{key, name}] = value;
    return true;
}

bool FakeRegistry::SetFlag(const std::wstring& key, const std::wstring& name) {
    return SetString(key, name, L"1");
}

void FakeRegistry::DeleteValue(const std::wstring& key, const std::wstring& name) {
    Values.erase({key, name});
}

bool FakeRegistry::ValueExists(const std::wstring& key, const std::wstring& name) const {
    return Values.contains({key, name});
}

std::optional<std::wstring> FakeRegistry::ReadString(const std::wstring& key,
                                                     const std::wstring& name) const {
    const auto found = Values.find({key, name});
    return found == Values.end() ? std::nullopt : std::optional(found->second);
}

} // namespace velmora
