#pragma once

#include "markup/ShellIcon.h"

#include <memory>

namespace velmora {

// Icons from the desktop's icon theme by MIME type, with the style's file and folder icons where the
// theme has none: 16 pixels for the small list, 32 for the large. Numbers 0 to 6 are the standard icons
// (computer, desktop, trash, network, drive, folder, file); each new icon found takes the next number.
// Needs a QApplication.
class QtShellIconSource final : public ShellIconSource {
public:
    QtShellIconSource();
    ~QtShellIconSource() override;
    QtShellIconSource(const QtShellIconSource&) = delete;
    QtShellIconSource& operator=(const QtShellIconSource&) = delete;

    std::int32_t IconIndex(const std::string& path, bool byName) override;
    Size IconSize(bool large) const override;
    Bitmap Icon(std::int32_t index, bool large) override;

private:
    struct Icons;
    std::unique_ptr<Icons> icons_;
};

} // namespace velmora
