#include "controls/core/MarkupDrawing.h"

namespace velmora {

namespace {

AutoSizeRules RulesOf(const MarkupSettings& settings) {
    return AutoSizeRulesFor(settings.AutoSizing, settings.Align, settings.AutoSizeType);
}

// Measures the whole text, as wrapped, for the arrows that show where there is more of it.
void DrawArrows(MarkupCall measure, const Rect& area, std::int32_t height, StaticTextCore& core) {
    measure.Request.NoDraw = true;
    measure.Request.MeasureOnly = true;
    measure.Run();
    const ScrollArrowsShown shown =
        DrawScrollArrows(measure.Target, area, measure.Result.TextHeight, height, core.ScrollOffset());
    core.ArrowsDrawn(shown.Up, shown.Down);
}

// Colours that show the text as it is, whatever the hover.
void WithoutHover(MarkupRequest& request, TColor urlColor) {
    request.UrlColor = urlColor;
    request.HoverColor = clNone;
    request.HoverFontColor = clNone;
}

} // namespace

void PaintLabel(Canvas& canvas, MarkupView& view, LabelCore& core, const LabelBackground& background,
                const PaintState& state) {
    const MarkupSettings& settings = view.Settings();
    PaintLabelBackground(canvas, state.Client, background);
    canvas.SetFont(settings.Font);
    DrawSingleBorder(canvas, DrawBevels(canvas, state.Client, settings.Frames, settings.Color),
                     settings.Frames);

    const std::string markup = view.Surface().Markup();
    // The brush at entry is the background that BLINK hides its text in.
    canvas.SetBrushColor(settings.Color);
    const AutoSizeRules rules = RulesOf(settings);
    Rect bounds = ExtendForAutoSize(TextArea(state.Client, settings.Frames), rules);
    view.AlignVertically(canvas, markup, bounds, state.Mouse, -1);
    MarkupCall draw = view.NewCall(canvas, markup, bounds, state.Mouse, state.Focused ? 0 : -1);
    view.Surface().Render(draw);
    core.Painted(state.Focused ? draw.Result.FocusHref : std::string());
    view.FitToText(rules, draw.Result.TextWidth, draw.Result.TextHeight);
}

Rect StaticTextLayoutBounds(const MarkupSettings& settings, const StaticTextCore& core, const Rect& client) {
    Rect bounds = ExtendForAutoSize(TextArea(client, settings.Frames), RulesOf(settings));
    if (core.MiniScroll()) {
        bounds.Top -= core.ScrollOffset();
        bounds.Right -= StaticTextCore::kArrowSize;
    }
    return bounds;
}

Rect StaticTextHitBounds(const MarkupSettings& settings, const StaticTextCore& core, const Rect& client) {
    Rect bounds = client;
    if (core.MiniScroll()) {
        bounds.Top -= core.ScrollOffset();
        bounds.Right -= StaticTextCore::kArrowSize;
    }
    return TextArea(bounds, settings.Frames);
}

void DrawStaticText(Canvas& canvas, MarkupView& view, StaticTextCore& core, const PaintState& state) {
    const MarkupSettings& settings = view.Settings();
    canvas.SetBrushColor(settings.Color);
    canvas.SetFont(settings.Font);
    const Rect inside = DrawBevels(canvas, state.Client, settings.Frames, settings.Color);
    canvas.SetPenColor(settings.Color);
    canvas.SetPenWidth(0);
    canvas.SetBrushColor(settings.Color);
    DrawSingleBorder(canvas, inside, settings.Frames);

    const Rect area = TextArea(state.Client, settings.Frames);
    const std::string markup = view.Surface().Markup();
    Rect bounds = StaticTextLayoutBounds(settings, core, state.Client);
    const std::int32_t focus = state.Focused ? core.FocusAnchor() : -1;

    if (core.MiniScroll()) {
        DrawArrows(view.NewCall(canvas, markup, bounds, state.Mouse, focus), area, state.Client.Height(),
                   core);
    }
    view.AlignVertically(canvas, markup, bounds, state.Mouse, focus);

    MarkupResult last;
    {
        ClipScope clip(canvas);
        // Scrolled text stays inside the frames instead of running over the top bevel.
        canvas.SetClipRect(Intersection(bounds, area));
        if (state.Enabled) {
            MarkupCall draw = view.NewCall(canvas, markup, bounds, state.Mouse, focus);
            draw.Run();
            last = draw.Result;
        } else {
            // Disabled text is embossed: white one pixel down and right, then grey in place.
            MarkupCall raised = view.NewCall(canvas, markup, bounds.Offset(1, 1), {0, 0}, focus);
            raised.Sources.Images = nullptr;
            WithoutHover(raised.Request, clWhite);
            canvas.SetFontColor(clWhite);
            raised.Run();
            MarkupCall grey = view.NewCall(canvas, markup, bounds, {0, 0}, focus);
            WithoutHover(grey.Request, clGray);
            canvas.SetFontColor(clGray);
            grey.Run();
            last = grey.Result;
        }
    }
    core.TextDrawn(last.AnchorCount, last.FocusHref);
    view.FitToText(RulesOf(settings), last.TextWidth, last.TextHeight);
}

} // namespace velmora
