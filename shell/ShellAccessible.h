#pragma once

class QObject;

namespace velmora {

// How assistive technologies see the shell's own widgets: the main window as a frame, the About window
// as a dialog, the two link labels as links that can be pressed, the pictures as graphics.
void InstallShellAccessibility();

// Drops what assistive technologies were told about `object` while its constructor ran, when it was
// not yet of its final class (a label, a plain widget): asked again, they learn what it is.
void ForgetEarlyAccessibility(QObject& object);

} // namespace velmora
