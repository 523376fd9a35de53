#pragma once

namespace velmora {

// Maps the Windows font names the layouts and the markup use ("MS Sans Serif",
// "Arial", …) to fonts that a Linux desktop has. Needs a GUI application.
void InstallFontSubstitutes();

} // namespace velmora
