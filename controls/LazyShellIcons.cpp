#include "controls/LazyShellIcons.h"

#include "markup/qt/QtShellIconSource.h"

namespace velmora {

LazyShellIcons::LazyShellIcons() = default;
LazyShellIcons::~LazyShellIcons() = default;

ShellIconSource& LazyShellIcons::Source() const {
    if (!source_) {
        source_ = std::make_unique<QtShellIconSource>();
    }
    return *source_;
}

std::int32_t LazyShellIcons::IconIndex(const std::string& path, bool byName) {
    return Source().IconIndex(path, byName);
}

Size LazyShellIcons::IconSize(bool large) const {
    return Source().IconSize(large);
}

Bitmap LazyShellIcons::Icon(std::int32_t index, bool large) {
    return Source().Icon(index, large);
}

} // namespace velmora
