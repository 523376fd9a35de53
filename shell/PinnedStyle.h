#pragma once

class QWidget;

namespace velmora {

// Draws `window` and the controls it holds now with one style that takes its colours from the palette,
// whatever style the desktop chose: a desktop style with colours of its own (a dark theme's buttons)
// would put them beside the pinned light palette, dark on white.
void PinLightStyle(QWidget& window);

} // namespace velmora
