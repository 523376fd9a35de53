#pragma once

namespace velmora {

// Lets assistive technologies see the markup controls, which draw their own
// text: each control is a static text named by its plain text, and each of its
// links a focusable child with its target as description and a press action.
// Called once, after the application is created.
void InstallMarkupAccessibility();

} // namespace velmora
