#pragma once

#include "markup/ShellIcon.h"

#include <windows.h>
// commctrl.h needs the types of windows.h.
#include <commctrl.h>

namespace velmora {

// The shell's own file icons, numbered as in its system image list: 16 pixels for the small list and
// 32 for the large one at 96 dpi, or what the system says. Paths are in the ANSI code page, as the
// markup's texts are.
class SystemShellIcons final : public ShellIconSource {
public:
    SystemShellIcons();

    std::int32_t IconIndex(const std::string& path, bool byName) override;
    Size IconSize(bool large) const override;
    Bitmap Icon(std::int32_t index, bool large) override;

private:
    HIMAGELIST List(bool large) const { return large ? large_ : small_; }

    // The system's lists belong to the shell: they are never destroyed here.
    HIMAGELIST small_ = nullptr;
    HIMAGELIST large_ = nullptr;
};

} // namespace velmora
