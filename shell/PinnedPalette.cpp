#include "shell/PinnedPalette.h"

namespace velmora {

QPalette PinnedLightPalette() {
    const QColor white(Qt::white);
    const QColor black(Qt::black);
    const QColor button(0xF0, 0xF0, 0xF0);
    // Disabled text at 4.5:1 on the button face and 5:1 on white, so that it still reads.
    const QColor greyText(0x6D, 0x6D, 0x6D);
    QPalette palette(black, button, white, QColor(0xA0, 0xA0, 0xA0), QColor(0xC0, 0xC0, 0xC0), black, white,
                     white, white);
    palette.setColor(QPalette::AlternateBase, QColor(0xF5, 0xF5, 0xF5));
    palette.setColor(QPalette::Midlight, QColor(0xE3, 0xE3, 0xE3));
    palette.setColor(QPalette::Shadow, QColor(0x69, 0x69, 0x69));
    palette.setColor(QPalette::Highlight, QColor(0x30, 0x8C, 0xC6));
    palette.setColor(QPalette::HighlightedText, white);
    palette.setColor(QPalette::Link, QColor(0x00, 0x00, 0xFF));
    palette.setColor(QPalette::LinkVisited, QColor(0xFF, 0x00, 0xFF));
    palette.setColor(QPalette::ToolTipBase, QColor(0xFF, 0xFF, 0xDC));
    palette.setColor(QPalette::ToolTipText, black);
    palette.setColor(QPalette::PlaceholderText, greyText);
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::PlaceholderText}) {
        palette.setColor(QPalette::Disabled, role, greyText);
    }
    return palette;
}

// 6:1 on white, where a focus frame needs 3:1 to be seen; the styles' light grey has under 2.
QColor FocusFrameColour() {
    return {0x1A, 0x5F, 0xB4};
}

} // namespace velmora
