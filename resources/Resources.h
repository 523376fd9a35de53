#pragma once

namespace velmora {

// Registers the pictures under :/images/ (banner.jpg, about-logo.jpg,
// about-portrait.jpg, result-bad.png, result-corrected.png, result-good.png,
// each also drawn at twice the size as NAME@2x.EXT; velmora-16.png,
// velmora-32.png, velmora-48.png). Safe to call more than once.
void LoadResources();

} // namespace velmora
