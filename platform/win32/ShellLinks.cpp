#include "platform/win32/ShellLinks.h"

#include <windows.h>
// shellapi.h needs the types of windows.h.
#include <shellapi.h>
#include <utility>

namespace velmora {

namespace {

ShellOpenHandler& Handler() {
    static ShellOpenHandler handler;
    return handler;
}

} // namespace

ShellOpenHandler SetShellOpenHandler(ShellOpenHandler handler) {
    return std::exchange(Handler(), std::move(handler));
}

bool ShellOpen(const std::string& target, TextEncoding encoding) {
    if (Handler()) {
        return Handler()(target);
    }
    const std::u16string text = DecodeText(target, encoding);
    const std::wstring wide(text.begin(), text.end());
    const HINSTANCE result = ShellExecuteW(nullptr, L"open", wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    // Above 32 is success; below is an error code cast to a handle.
    return reinterpret_cast<INT_PTR>(result) > 32;
}

} // namespace velmora
