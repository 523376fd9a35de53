#include "markup/MarkupColors.h"

#include "markup/MarkupText.h"

#include <array>
#include <utility>

namespace velmora {
namespace {

// Searched in this order; the first match wins.
constexpr std::array<std::pair<std::string_view, TColor>, 40> kColorNames{{
    {"clred", clRed},
    {"clblack", clBlack},
    {"clblue", clBlue},
    {"clgreen", clGreen},
    {"claqua", clAqua},
    {"clyellow", clYellow},
    {"clfuchsia", clFuchsia},
    {"clwhite", clWhite},
    {"cllime", clLime},
    {"clsilver", clSilver},
    {"clgray", clGray},
    {"clolive", clOlive},
    {"clnavy", clNavy},
    {"clpurple", clPurple},
    {"clteal", clTeal},
    {"clmaroon", clMaroon},
    {"clbackground", clBackground},
    {"clactivecaption", clActiveCaption},
    {"clinactivecaption", clInactiveCaption},
    {"clmenu", clMenu},
    {"clwindow", clWindow},
    {"clwindowframe", clWindowFrame},
    {"clmenutext", clMenuText},
    {"clwindowtext", clWindowText},
    {"clcaptiontext", clCaptionText},
    {"clactiveborder", clActiveBorder},
    {"clinactiveborder", clInactiveBorder},
    {"clappworkspace", clAppWorkSpace},
    {"clhighlight", clHighlight},
    {"clhighlighttext", clHighlightText},
    {"clbtnface", clBtnFace},
    {"clbtnshadow", clBtnShadow},
    {"clgraytext", clGrayText},
    {"clbtntext", clBtnText},
    {"clinactivecaptiontext", clInactiveCaptionText},
    {"clbtnhighlight", clBtnHighlight},
    {"cl3ddkshadow", cl3DDkShadow},
    {"cl3dlight", cl3DLight},
    {"clinfotext", clInfoText},
    {"clinfobk", clInfoBk},
}};

int HexDigitValue(char c) {
    const int code = static_cast<unsigned char>(c);
    return code < 'A' ? code - 48 : code - 55;
}

} // namespace

TColor ColorFromName(std::string_view name) {
    for (const auto& [known, color] : kColorNames) {
        if (known == name) {
            return color;
        }
    }
    return clBlack;
}

int HexPairValue(std::string_view pair) {
    if (pair.size() < 2) {
        return 0;
    }
    return HexDigitValue(pair[0]) * 16 + HexDigitValue(pair[1]);
}

TColor ColorFromHex(std::string_view text) {
    auto pairAt = [text](std::size_t index) {
        return index < text.size() ? HexPairValue(text.substr(index, 2)) : 0;
    };
    return pairAt(1) + pairAt(3) * 256 + pairAt(5) * 65536;
}

std::optional<TColor> ColorFromValue(std::string_view value) {
    if (value.empty()) {
        return std::nullopt;
    }
    if (value.front() == '#') {
        return ColorFromHex(value);
    }
    return ColorFromName(LowerCaseAnsi(value));
}

} // namespace velmora
