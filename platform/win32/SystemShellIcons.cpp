#include "platform/win32/SystemShellIcons.h"

#include <shellapi.h>
#include <string>

namespace velmora {

namespace {

std::wstring WideFromAnsi(const std::string& text) {
    if (text.empty()) {
        return {};
    }
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

HIMAGELIST SystemList(UINT sizeFlag) {
    SHFILEINFOW info{};
    return reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(L"", 0, &info, sizeof info, SHGFI_SYSICONINDEX | sizeFlag));
}

// The pixels of a GDI bitmap as 32-bit rows top to bottom.
std::vector<Argb> BitmapRows(HBITMAP bitmap, int width, int height) {
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    std::vector<Argb> rows(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    const HDC screen = GetDC(nullptr);
    const int read =
        GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), rows.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (read != height) {
        rows.clear();
    }
    return rows;
}

// An icon's colours with their own alpha, or, for an icon of the older kind without one, opaque where
// its mask is clear.
Bitmap IconPixels(HICON icon, Size size) {
    ICONINFO parts{};
    if (!GetIconInfo(icon, &parts)) {
        return {};
    }
    std::vector<Argb> colours = BitmapRows(parts.hbmColor, size.Width, size.Height);
    const std::vector<Argb> mask = BitmapRows(parts.hbmMask, size.Width, size.Height);
    DeleteObject(parts.hbmColor);
    DeleteObject(parts.hbmMask);
    if (colours.empty() || mask.size() != colours.size()) {
        return {};
    }
    bool hasAlpha = false;
    for (const Argb pixel : colours) {
        hasAlpha = hasAlpha || AlphaOf(pixel) != 0;
    }
    Bitmap pixels(size.Width, size.Height);
    for (std::size_t i = 0; i < colours.size(); ++i) {
        const bool shown = hasAlpha ? AlphaOf(colours[i]) != 0 : (mask[i] & 0xFFFFFF) == 0;
        const Argb alpha = hasAlpha ? (colours[i] & 0xFF000000) : 0xFF000000;
        pixels.Pixels()[i] = shown ? alpha | (colours[i] & 0xFFFFFF) : 0;
    }
    return pixels;
}

} // namespace

SystemShellIcons::SystemShellIcons()
    : small_(SystemList(SHGFI_SMALLICON)), large_(SystemList(SHGFI_LARGEICON)) {}

std::int32_t SystemShellIcons::IconIndex(const std::string& path, bool byName) {
    const std::wstring name = WideFromAnsi(path);
    SHFILEINFOW info{};
    const UINT flags = SHGFI_SYSICONINDEX | SHGFI_SMALLICON | (byName ? SHGFI_USEFILEATTRIBUTES : 0);
    if (SHGetFileInfoW(name.c_str(), byName ? FILE_ATTRIBUTE_NORMAL : 0, &info, sizeof info, flags) == 0) {
        return -1;
    }
    return info.iIcon;
}

Size SystemShellIcons::IconSize(bool large) const {
    int width = 0;
    int height = 0;
    if (List(large) == nullptr || !ImageList_GetIconSize(List(large), &width, &height)) {
        const int side = large ? 32 : 16;
        return {side, side};
    }
    return {width, height};
}

Bitmap SystemShellIcons::Icon(std::int32_t index, bool large) {
    const HIMAGELIST list = List(large);
    if (list == nullptr || index < 0 || index >= ImageList_GetImageCount(list)) {
        return {};
    }
    const HICON icon = ImageList_GetIcon(list, index, ILD_NORMAL);
    if (icon == nullptr) {
        return {};
    }
    Bitmap pixels = IconPixels(icon, IconSize(large));
    DestroyIcon(icon);
    return pixels;
}

} // namespace velmora
