#pragma once

namespace velmora {

namespace MarkupControls {
#include "controls/core/ControlEnumList.inc"
} // namespace MarkupControls

using MarkupControls::TAlign;
using MarkupControls::TAutoSizeType;
using MarkupControls::TBevelCut;
using MarkupControls::TBorderStyle;
using MarkupControls::TGradientType;
using MarkupControls::TVAlignment;
using enum MarkupControls::TAlign;
using enum MarkupControls::TAutoSizeType;
using enum MarkupControls::TBevelCut;
using enum MarkupControls::TBorderStyle;
using enum MarkupControls::TGradientType;
using enum MarkupControls::TVAlignment;

} // namespace velmora
