#include "markup/ShellIcon.h"

#include "markup/MarkupText.h"
#include "markup/PictureDrawing.h"

#include <filesystem>
#include <system_error>

namespace velmora {

bool IsExistingFolder(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

Size DrawShellIcon(Canvas& canvas, std::int32_t x, std::int32_t y, double scale, bool printing, bool draw,
                   bool large, std::string_view source, ShellIconSource* icons) {
    if (icons == nullptr) {
        return {};
    }
    std::int32_t index = 0;
    if (const std::optional<int> number = CleanIntFromText(source)) {
        index = *number;
    } else if (!source.empty()) {
        const std::string path(source);
        std::error_code error;
        const bool exists = std::filesystem::exists(path, error) || IsExistingFolder(path);
        index = icons->IconIndex(path, !exists);
    }
    const Size size = icons->IconSize(large);
    if (!draw) {
        return size;
    }
    const Bitmap icon = icons->Icon(index, large);
    if (icon.IsEmpty()) {
        return size;
    }
    if (printing) {
        StretchBitmapToCanvas(canvas, ScaledRect(x, y, size, scale), OnWhite(icon));
    } else {
        canvas.DrawBitmap(x, y, icon);
    }
    return size;
}

} // namespace velmora
