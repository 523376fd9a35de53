#pragma once

#include "graphics/Canvas.h"

#include <ostream>

namespace velmora::testkit {

// Lays out a table of markup texts on the canvas in the font of that family, 12 points, and writes one
// line per text: its name, then the layout numbers as name=value (textWidth, textHeight, anchorCount,
// hit, hitAnchorNumber and the four sides of hitAnchorRect). The same table on two canvases gives two
// lists that compare line by line.
void DumpLayouts(Canvas& canvas, const char* fontFamily, std::ostream& out);

} // namespace velmora::testkit
