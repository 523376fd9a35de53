#include "markup/RotatedFont.h"

namespace velmora {

FontState SelectRotatedFont(Canvas& canvas, int angle) {
    FontState kept = canvas.Font();
    FontState rotated = kept;
    // Whole turns change nothing, and dropping them keeps the tenths of a degree within range.
    rotated.Escapement = (angle % 360) * 10;
    canvas.SetFont(rotated);
    return kept;
}

void RestoreUnrotatedFont(Canvas& canvas, const FontState& kept) {
    canvas.SetFont(kept);
}

} // namespace velmora
