#pragma once

// The canvas's names first: <windows.h> defines DT_BOTTOM, SYMBOL_CHARSET and the like as macros,
// which would break the constants of the same names if they were declared after it.
#include "graphics/Canvas.h"

// Without the min and max macros, and without the DrawText macro, which would rename Canvas::DrawText
// wherever these headers are seen.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#undef DrawText
