#pragma once

#include "markup/ShellIcon.h"

#include <memory>

namespace velmora {

// The desktop's file icons, looked up only when markup first shows one: most
// texts show none, and reading the icon theme is much of a window's start-up.
class LazyShellIcons : public ShellIconSource {
public:
    LazyShellIcons();
    ~LazyShellIcons() override;

    std::int32_t IconIndex(const std::string& path, bool byName) override;
    Size IconSize(bool large) const override;
    Bitmap Icon(std::int32_t index, bool large) override;

private:
    ShellIconSource& Source() const;

    mutable std::unique_ptr<ShellIconSource> source_;
};

} // namespace velmora
