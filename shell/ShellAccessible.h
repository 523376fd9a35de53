#pragma once

namespace velmora {

// How assistive technologies see the shell's own widgets: the main window as a frame, the About window
// as a dialog, the two link labels as links that can be pressed, the pictures as graphics.
void InstallShellAccessibility();

} // namespace velmora
