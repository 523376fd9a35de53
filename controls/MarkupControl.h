#pragma once

#include "controls/ControlTypes.h"
#include "controls/MarkupGeometry.h"
#include "controls/TextLines.h"
#include "graphics/FontState.h"
#include "graphics/ImageList.h"
#include "graphics/Rect.h"
#include "markup/RenderMarkup.h"
#include "markup/ShellIcon.h"
#include "pictures/PictureCache.h"
#include "pictures/PictureContainer.h"

#include <QImage>
#include <QLabel>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QHelpEvent;
class QMouseEvent;

namespace velmora {

class Canvas;

struct AnchorHit {
    std::string Anchor; // empty when the point is on no anchor
    Rect AnchorRect{-1, -1, -1, -1};
};

// One link as assistive technologies are told it.
struct MarkupLink {
    std::string Text;   // plain, Windows-1252
    std::string Target; // empty when no part of it is drawn
    QRect Bounds;       // control coordinates; empty when no part of it is drawn
};

// What THTMLabel and THTMLStaticText share: the settings both publish, the hover state, the text lines,
// the picture cache, the anchor-click rule and the canvas their hit tests measure on. Each control
// publishes the properties itself, because their setters and saving rules differ.
//
// The control owns its text lines, its picture cache and its image-list link; the image list and the
// picture container belong to the window. An image list that goes away is forgotten through the link;
// a picture container must be reported with ComponentRemoved before it goes.
class MarkupControl : public QLabel {
    Q_OBJECT
    Q_PROPERTY(velmora::TColor ShadowColor READ ShadowColor WRITE SetShadowColor)
    Q_PROPERTY(qint32 ShadowOffset READ ShadowOffset WRITE SetShadowOffset)
    Q_PROPERTY(velmora::MarkupControls::TBevelCut BevelInner READ BevelInner WRITE SetBevelInner)
    Q_PROPERTY(velmora::MarkupControls::TBevelCut BevelOuter READ BevelOuter WRITE SetBevelOuter)
    Q_PROPERTY(qint32 BevelWidth READ BevelWidth WRITE SetBevelWidth)
    Q_PROPERTY(qint32 BorderWidth READ BorderWidth WRITE SetBorderWidth)
    Q_PROPERTY(velmora::MarkupControls::TBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
    Q_PROPERTY(bool AnchorHint READ AnchorHint WRITE SetAnchorHint)
    Q_PROPERTY(velmora::TPictureContainer* PictureContainer READ PictureContainer WRITE SetPictureContainer)
    Q_PROPERTY(velmora::TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(velmora::FontState Font READ Font WRITE SetFont)
    Q_PROPERTY(velmora::MarkupControls::TAlign Align READ Align WRITE SetAlign)

public:
    ~MarkupControl() override;

    TColor Color() const { return color_; }
    void SetColor(TColor color);
    const FontState& Font() const { return font_; }
    void SetFont(const FontState& font);
    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);
    // The hint shown where no anchor or full-text hint applies.
    const std::string& Hint() const { return hint_; }
    void SetHint(std::string hint) { hint_ = std::move(hint); }

    TextLines& HTMLText() { return htmlText_; }
    const TextLines& HTMLText() const { return htmlText_; }
    QStringList HTMLTextList() const;
    virtual std::string GetJoinedText() const;

    TColor URLColor() const { return urlColor_; }
    TColor ShadowColor() const { return shadowColor_; }
    std::int32_t ShadowOffset() const { return shadowOffset_; }
    bool Hover() const { return hover_; }
    TColor HoverColor() const { return hoverColor_; }
    TColor HoverFontColor() const { return hoverFontColor_; }
    TBevelCut BevelInner() const { return frames_.BevelInner; }
    TBevelCut BevelOuter() const { return frames_.BevelOuter; }
    std::int32_t BevelWidth() const { return frames_.BevelWidth; }
    std::int32_t BorderWidth() const { return frames_.BorderWidth; }
    TBorderStyle BorderStyle() const { return frames_.BorderStyle; }
    TVAlignment VAlignment() const { return vAlignment_; }
    bool Ellipsis() const { return ellipsis_; }
    bool AutoSizing() const { return autoSizing_; }
    TAutoSizeType AutoSizeType() const { return autoSizeType_; }
    bool AnchorHint() const { return anchorHint_; }
    ImageList* Images() const { return imageListLink_.List(); }
    TPictureContainer* PictureContainer() const { return pictureContainer_; }

    void SetShadowColor(TColor color);
    void SetShadowOffset(std::int32_t offset);
    void SetBevelInner(TBevelCut cut);
    void SetBevelOuter(TBevelCut cut);
    // Below 1 counts as 1, below 0 as 0, as the layouts' ranges allow.
    void SetBevelWidth(std::int32_t width);
    void SetBorderWidth(std::int32_t width);
    void SetBorderStyle(TBorderStyle style);
    void SetAnchorHint(bool on) { anchorHint_ = on; }
    void SetPictureContainer(TPictureContainer* container) { pictureContainer_ = container; }

    // Whether a layout writer saves the property: the frame settings only when they differ from a new
    // control's, the image list and picture container only when set, HTMLText only when it has lines.
    Q_INVOKABLE virtual bool IsPropertyStored(const QString& name) const;

    // Target of the anchor the mouse was last over.
    const std::string& LastAnchor() const { return lastAnchor_; }
    // 1-based number of the anchor under the mouse as the last hit test found it; -1 for none.
    std::int32_t HoverAnchor() const { return hoverAnchor_; }
    std::int32_t LastHoverAnchor() const { return lastHoverAnchor_; }
    // The anchor last hovered, in control coordinates; (-1, -1, -1, -1) for none.
    const Rect& HoverRect() const { return hoverRect_; }
    THTMLPictureCache& PictureCache() { return *pictureCache_; }
    // The desktop's file icons for the markup's SSYS and LSYS pictures.
    ShellIconSource& ShellIcons() { return *shellIcons_; }

    // The window tells its controls that a component of its own is going away.
    void ComponentRemoved(const ImageList* list);
    void ComponentRemoved(const TPictureContainer* container);

    // A window that sets the properties from its layout brackets that with these two calls.
    void BeginLayoutLoad() { loading_ = true; }
    virtual void Loaded();
    bool IsLoading() const { return loading_; }

    // Where text goes inside the frames, in control coordinates.
    Rect TextArea() const;

    // The anchor under a point in control coordinates; updates HoverAnchor.
    virtual AnchorHit AnchorAt(std::int32_t x, std::int32_t y) = 0;
    // The text without its tags, as a hint or a screen reader gives it.
    std::string PlainText() const;
    // The links in text order, found where they are drawn as the mouse finds them; kept while the
    // text and size stay the same.
    const std::vector<MarkupLink>& Links();
    // Opens a link as a click on it does.
    void PressLink(const std::string& target) { OpenAnchor(target, OnAnchorClick); }
    // The 0-based link the focus frame is on; -1 without the focus.
    virtual std::int32_t FocusedLink() const = 0;

    // The hint this control shows for a point in control coordinates; a null position keeps the host's.
    struct HintInfo {
        std::string Text;
        QPoint GlobalPos;
        bool Moved = false;
    };
    virtual HintInfo HintAt(QPoint point) = 0;

    TAnchorClick OnAnchorClick;
    TAnchorClick OnAnchorEnter;
    TAnchorClick OnAnchorExit;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TMouseEvent OnMouseDown;

protected:
    // onTextChanged runs after every change of the text lines, onImagesChanged when the image list does.
    MarkupControl(QWidget* parent, std::function<void()> onTextChanged,
                  std::function<void()> onImagesChanged);

    Rect ClientRect() const { return {0, 0, width(), height()}; }

    template <typename T> void StoreAndRepaint(T& field, T value) {
        field = value;
        update();
    }
    // For the settings that repaint only when their value changes.
    template <typename T> void StoreAndRepaintChanged(T& field, T value) {
        if (field != value) {
            StoreAndRepaint(field, value);
        }
    }
    // The framework's caption is never shown.
    void EmptyCaption();

    bool CursorIsHand() const;
    void ShowHandCursor();
    void ShowDefaultCursor();
    Point CursorPos() const;

    // Links with "://" or "mailto:" go to the desktop, whose failure is ignored; others to `event`.
    void OpenAnchor(const std::string& anchor, const TAnchorClick& event);
    void RaiseMouseDown(const QMouseEvent& event);
    void RaiseAnchorEvent(const TAnchorClick& event, const std::string& anchor);
    void RaiseNotify(const TNotifyEvent& event);

    // A canvas with the control's font and background colour on a scratch surface of the control's
    // resolution, for measuring and hit tests; valid during `use` only.
    void WithMeasureCanvas(const std::function<void(Canvas&)>& use);

    // What both controls ask of every paint: where, the point to hit, the focus, and the hover, shadow and
    // link settings.
    MarkupRequest SharedRequest(const Rect& bounds, Point mouse, std::int32_t focus) const;
    // The arguments every RenderMarkup call of this control's paint starts from, and the call itself.
    virtual RenderMarkupParams PaintArguments(Canvas& canvas, const std::string& markup, const Rect& bounds,
                                              Point mouse, std::int32_t focus) const = 0;
    virtual bool Render(RenderMarkupParams& params) = 0;
    // Moves bounds down for centred or bottom text, measured as the paint lays it out.
    void AlignVertically(Canvas& canvas, const std::string& markup, Rect& bounds, Point mouse,
                         std::int32_t focus);
    // The anchor under (x, y) with the text laid out in bounds, found where it is drawn; sets HoverAnchor.
    AnchorHit HitTest(Rect bounds, std::int32_t x, std::int32_t y);
    // The outer bevel, the margin of BorderWidth pixels in Color, the inner bevel; returns what is left.
    Rect DrawBevels(Canvas& canvas);
    // A black single border of BorderWidth pixels over what the bevels left, filled with the brush.
    void DrawSingleBorder(Canvas& canvas, const Rect& inside);
    // Takes the size of the text just drawn, plus the margin, in the directions the rules allow.
    void FitToText(AutoSizeRules rules, std::int32_t textWidth, std::int32_t textHeight);

    // Shows the hint for a tool-tip request and says so.
    bool ShowHintFor(const QHelpEvent& event);

    TColor color_ = clBtnFace;
    FontState font_;
    TAlign align_ = alNone;
    std::string hint_;
    TColor urlColor_ = clBlue;
    TColor shadowColor_ = clGray;
    std::int32_t shadowOffset_ = 2;
    bool hover_ = false;
    TColor hoverColor_ = clNone;
    TColor hoverFontColor_ = clNone;
    FrameSettings frames_;
    TVAlignment vAlignment_ = tvaTop;
    bool ellipsis_ = false;
    bool autoSizing_ = false;
    TAutoSizeType autoSizeType_ = asVertical;
    bool anchorHint_ = false;
    TPictureContainer* pictureContainer_ = nullptr;

    std::string lastAnchor_;
    std::int32_t hoverAnchor_ = -1;
    std::int32_t lastHoverAnchor_ = 0;
    Rect hoverRect_;
    std::unique_ptr<THTMLPictureCache> pictureCache_;
    std::unique_ptr<ShellIconSource> shellIcons_;
    ImageListLink imageListLink_;
    bool loading_ = false;

private:
    TextLines htmlText_;
    QImage measureSurface_;
    std::string linksMarkup_;
    QSize linksSize_;
    std::vector<MarkupLink> links_;
    bool linksKnown_ = false;
};

// Windows-1252 lines to and from the Unicode of the layouts and tool tips.
QStringList LinesToStrings(const std::vector<std::string>& lines);
std::vector<std::string> StringsToLines(const QStringList& strings);

} // namespace velmora
