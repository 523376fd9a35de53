#include "shell/win32/HandOverProtocol.h"

namespace velmora {

std::wstring HandOverPayload(const HandOverRequest& request) {
    std::wstring payload = request.EventName;
    if (request.Path) {
        payload += L'\0';
        payload += *request.Path;
    }
    return payload;
}

std::optional<HandOverRequest> ReadHandOver(const COPYDATASTRUCT& data) {
    if (data.dwData != kHandOverData || data.cbData % sizeof(wchar_t) != 0 || data.lpData == nullptr ||
        data.cbData > (kLongestPath * 2 + 64) * sizeof(wchar_t)) {
        return std::nullopt;
    }
    const std::wstring payload(static_cast<const wchar_t*>(data.lpData), data.cbData / sizeof(wchar_t));
    const std::size_t separator = payload.find(L'\0');
    HandOverRequest request{payload.substr(0, separator), std::nullopt};
    const std::wstring prefix = kRunEventPrefix;
    if (!request.EventName.starts_with(prefix) || request.EventName.size() > prefix.size() + 64) {
        return std::nullopt;
    }
    if (separator != std::wstring::npos) {
        std::wstring path = payload.substr(separator + 1);
        if (path.empty() || path.size() > kLongestPath || path.find(L'\0') != std::wstring::npos) {
            return std::nullopt;
        }
        request.Path = std::move(path);
    }
    return request;
}

} // namespace velmora
