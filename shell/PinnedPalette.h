#pragma once

#include <QPalette>

namespace velmora {

// The colours of an area whose background is pinned to white: black text, white fields, light
// buttons, whatever colour scheme the desktop has. Pinning only the background would leave light
// text of a dark scheme on white.
QPalette PinnedLightPalette();

// The focus frame drawn on the pinned white: dark enough to stand out at more than 3:1.
QColor FocusFrameColour();

} // namespace velmora
