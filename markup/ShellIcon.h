#pragma once

#include "graphics/Bitmap.h"
#include "graphics/Canvas.h"
#include "graphics/Rect.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace velmora {

// The desktop's file icons, numbered the way the shell numbers its system image list: a number once
// given names the same icon for the rest of the source's life. Whoever makes a source owns it and keeps
// it alive for every RenderMarkup call it is handed to.
class ShellIconSource {
public:
    virtual ~ShellIconSource() = default;
    // The icon for the file or folder at path; with byName, the icon for any file named like path,
    // so that an extension alone works.
    virtual std::int32_t IconIndex(const std::string& path, bool byName) = 0;
    // The size of every icon of the small or the large list.
    virtual Size IconSize(bool large) const = 0;
    // Icon `index` at that size; an empty bitmap for a number without an icon.
    virtual Bitmap Icon(std::int32_t index, bool large) = 0;
};

// True when path names an existing folder.
bool IsExistingFolder(const std::string& path);

// The icon that source names: a number in the system list, or a file, folder or extension. Returns its
// size at 96 pixels per inch; when draw is set also draws it at (x, y), and when printing, opaque and
// stretched by scale. Without a source of icons nothing is drawn and the size is 0 x 0.
Size DrawShellIcon(Canvas& canvas, std::int32_t x, std::int32_t y, double scale, bool printing, bool draw,
                   bool large, std::string_view source, ShellIconSource* icons);

} // namespace velmora
