#pragma once

#include "controls/ControlTypes.h"
#include "controls/core/ControlHost.h"
#include "controls/core/MarkupDrawing.h"
#include "controls/core/MarkupGeometry.h"
#include "controls/core/MarkupSettings.h"
#include "controls/core/MarkupView.h"
#include "controls/core/TextLines.h"
#include "graphics/FontState.h"
#include "graphics/ImageList.h"
#include "graphics/Rect.h"
#include "graphics/qt/QtConversions.h"
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
#include <string_view>
#include <type_traits>
#include <vector>

class QHelpEvent;
class QMouseEvent;

namespace velmora {

class Canvas;

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

    TColor Color() const { return settings_.Color; }
    void SetColor(TColor color);
    const FontState& Font() const { return settings_.Font; }
    void SetFont(const FontState& font);
    TAlign Align() const { return settings_.Align; }
    void SetAlign(TAlign align);
    // The hint shown where no anchor or full-text hint applies.
    const std::string& Hint() const { return settings_.Hint; }
    void SetHint(std::string hint) { settings_.Hint = std::move(hint); }

    TextLines& HTMLText() { return htmlText_; }
    const TextLines& HTMLText() const { return htmlText_; }
    QStringList HTMLTextList() const;
    virtual std::string GetJoinedText() const;

    TColor URLColor() const { return settings_.URLColor; }
    TColor ShadowColor() const { return settings_.ShadowColor; }
    std::int32_t ShadowOffset() const { return settings_.ShadowOffset; }
    bool Hover() const { return settings_.Hover; }
    TColor HoverColor() const { return settings_.HoverColor; }
    TColor HoverFontColor() const { return settings_.HoverFontColor; }
    TBevelCut BevelInner() const { return settings_.Frames.BevelInner; }
    TBevelCut BevelOuter() const { return settings_.Frames.BevelOuter; }
    std::int32_t BevelWidth() const { return settings_.Frames.BevelWidth; }
    std::int32_t BorderWidth() const { return settings_.Frames.BorderWidth; }
    TBorderStyle BorderStyle() const { return settings_.Frames.BorderStyle; }
    TVAlignment VAlignment() const { return settings_.VAlignment; }
    bool Ellipsis() const { return settings_.Ellipsis; }
    bool AutoSizing() const { return settings_.AutoSizing; }
    TAutoSizeType AutoSizeType() const { return settings_.AutoSizeType; }
    bool AnchorHint() const { return settings_.AnchorHint; }
    ImageList* Images() const { return imageListLink_.List(); }
    TPictureContainer* PictureContainer() const { return settings_.PictureContainer; }

    void SetURLColor(TColor color);
    void SetShadowColor(TColor color);
    void SetShadowOffset(std::int32_t offset);
    void SetBevelInner(TBevelCut cut);
    void SetBevelOuter(TBevelCut cut);
    // Below 1 counts as 1, below 0 as 0, as the layouts' ranges allow.
    void SetBevelWidth(std::int32_t width);
    void SetBorderWidth(std::int32_t width);
    void SetBorderStyle(TBorderStyle style);
    void SetEllipsis(bool on);
    void SetAnchorHint(bool on) { settings_.AnchorHint = on; }
    void SetImages(ImageList* list);
    void SetPictureContainer(TPictureContainer* container);

    // Whether a layout writer saves the property: the frame settings only when they differ from a new
    // control's, the image list and picture container only when set, HTMLText only when it has lines.
    Q_INVOKABLE virtual bool IsPropertyStored(const QString& name) const;

    // Target of the anchor the mouse was last over.
    const std::string& LastAnchor() const { return hovering_.LastAnchor; }
    // 1-based number of the anchor under the mouse as the last hit test found it; -1 for none.
    std::int32_t HoverAnchor() const { return hovering_.Anchor; }
    std::int32_t LastHoverAnchor() const { return hovering_.LastAnchorNumber; }
    // The anchor last hovered, in control coordinates; (-1, -1, -1, -1) for none.
    const Rect& HoverRect() const { return hovering_.AnchorRect; }
    THTMLPictureCache& PictureCache() const { return *pictureCache_; }
    // The desktop's file icons for the markup's SSYS and LSYS pictures.
    ShellIconSource& ShellIcons() const { return *shellIcons_; }

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
    // What the text's bytes, and so its plain text and links, are: UTF-8 when it starts with the mark.
    TextEncoding Encoding() const;
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
    // The settings both controls publish. A control changes them only through Store, StoreAndRepaint
    // and StoreAndRepaintChanged, so that each setter says whether it repaints.
    using Settings = MarkupSettings;
    // onTextChanged runs after every change of the text lines, onImagesChanged when the image list does.
    MarkupControl(QWidget* parent, std::function<void()> onTextChanged,
                  std::function<void()> onImagesChanged);

    Rect ClientRect() const { return {0, 0, width(), height()}; }
    const FrameSettings& Frames() const { return settings_.Frames; }
    AnchorHover& Hovering() { return hovering_; }
    // What the pointer handlers of the control's core read.
    PointerSettings Pointer() const { return {settings_.Hover, settings_.AnchorHint}; }

    // Stored only: the next paint shows it.
    template <typename T> void Store(T Settings::*field, std::type_identity_t<T> value) {
        settings_.*field = std::move(value);
    }
    template <typename T> void StoreAndRepaint(T Settings::*field, std::type_identity_t<T> value) {
        Store(field, std::move(value));
        update();
    }
    // For the settings that repaint only when their value changes.
    template <typename T> void StoreAndRepaintChanged(T Settings::*field, std::type_identity_t<T> value) {
        if (settings_.*field != value) {
            StoreAndRepaint(field, std::move(value));
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

    // What the control lends every call: its image list, its pictures and the desktop's icons.
    MarkupSources OwnSources() const;
    // What the control's kind decides in every request: its flavour, wrapping and blinking.
    virtual void ShapeRequest(MarkupRequest& request) const = 0;
    // Runs a call the control built.
    virtual bool Render(MarkupCall& call) { return call.Run(); }
    // Lays the text out, hit tests it, finds its links and fits the control to it.
    MarkupView& View() { return view_; }
    const MarkupView& View() const { return view_; }
    // What a paint of the control reads from it now.
    PaintState CurrentPaintState() const;

    // Shows the hint for a tool-tip request and says so.
    bool ShowHintFor(const QHelpEvent& event);
    // The lines laid out last are laid out again: what the pictures hold has changed.
    void ForgetLayouts() { view_.ForgetLayouts(); }

private:
    template <typename HostBase> friend class MarkupControlHost;

    class Surface;

    // A canvas with the control's font and background colour on a scratch surface of the control's
    // resolution, for measuring and hit tests; valid during `use` only.
    void WithMeasureCanvas(const std::function<void(Canvas&)>& use);

    Settings settings_;
    AnchorHover hovering_;
    std::unique_ptr<THTMLPictureCache> pictureCache_;
    std::unique_ptr<ShellIconSource> shellIcons_;
    ImageListLink imageListLink_;
    bool loading_ = false;
    TextLines htmlText_;
    QImage measureSurface_;
    std::unique_ptr<Surface> surface_;
    MarkupView view_;
    std::vector<MarkupLink> links_;
};

// The keys a markup control's core answers.
ControlKey ToControlKey(int qtKey);
// Hides whatever tool tip shows.
void HideToolTip();

// What every Qt markup control answers its core: hit tests, repaints, the cursor, the hint and the
// anchor events. Each control adds what only its own core asks.
template <typename HostBase> class MarkupControlHost : public HostBase {
public:
    explicit MarkupControlHost(MarkupControl& control) : control_(control) {}

    AnchorHit HitAt(std::int32_t x, std::int32_t y) override { return control_.AnchorAt(x, y); }
    void Invalidate(const Rect& r) override { control_.update(ToQRect(r)); }
    void InvalidateAll() override { control_.update(); }
    bool ShowsHand() const override { return control_.CursorIsHand(); }
    void ShowCursor(ControlCursor cursor) override {
        if (cursor == ControlCursor::Hand) {
            control_.ShowHandCursor();
        } else {
            control_.ShowDefaultCursor();
        }
    }
    void HideHint() override { HideToolTip(); }
    void AnchorEntered(const std::string& anchor) override {
        control_.RaiseAnchorEvent(control_.OnAnchorEnter, anchor);
    }
    void AnchorExited() override { control_.RaiseAnchorEvent(control_.OnAnchorExit, std::string()); }

protected:
    MarkupControl& control_;
};

// Lines to and from the Unicode of the layouts and tool tips: Windows-1252 when it holds every
// character, else UTF-8 with the mark at the start of the first line (LinesToStrings drops it).
QStringList LinesToStrings(const std::vector<std::string>& lines);
std::vector<std::string> StringsToLines(const QStringList& strings);

} // namespace velmora
