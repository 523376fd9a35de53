#pragma once

#include "controls/ControlTimers.h"
#include "controls/MarkupControl.h"
#include "controls/core/StaticTextCore.h"
#include "markup/RenderMarkup.h"

#include <QImage>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace velmora {

// A focusable box of marked-up text: the arrow keys move a focus frame from anchor to anchor, Enter or
// Space opens the focused one, text after <BLINK> blinks, animated pictures run, and two small arrows
// scroll text that is taller than the box. A 100 ms timer drives blinking, pictures and the scroll while
// EnableBlink or AutoScroll is on.
//
// State changes redraw at once (repaint), as the control drew straight onto its window; hover changes
// also invalidate the anchor they leave.
class THTMLStaticText : public MarkupControl {
    Q_OBJECT
    Q_PROPERTY(QStringList HTMLText READ HTMLTextList WRITE SetHTMLTextList)
    Q_PROPERTY(velmora::TColor URLColor READ URLColor WRITE SetURLColor)
    Q_PROPERTY(bool Hover READ Hover WRITE SetHover)
    Q_PROPERTY(velmora::TColor HoverColor READ HoverColor WRITE SetHoverColor)
    Q_PROPERTY(velmora::TColor HoverFontColor READ HoverFontColor WRITE SetHoverFontColor)
    Q_PROPERTY(velmora::MarkupControls::TVAlignment VAlignment READ VAlignment WRITE SetVAlignment)
    Q_PROPERTY(bool MiniScroll READ MiniScroll WRITE SetMiniScroll)
    Q_PROPERTY(bool AutoScroll READ AutoScroll WRITE SetAutoScroll)
    Q_PROPERTY(bool EnableBlink READ EnableBlink WRITE SetEnableBlink)
    Q_PROPERTY(bool Ellipsis READ Ellipsis WRITE SetEllipsis)
    Q_PROPERTY(bool AutoSizing READ AutoSizing WRITE SetAutoSizing)
    Q_PROPERTY(velmora::MarkupControls::TAutoSizeType AutoSizeType READ AutoSizeType WRITE SetAutoSizeType)
    Q_PROPERTY(velmora::ImageList* Images READ Images WRITE SetImages)
    Q_PROPERTY(bool TabStop READ TabStop WRITE SetTabStop)

public:
    explicit THTMLStaticText(QWidget* parent = nullptr);
    ~THTMLStaticText() override;

    // The lines are copied as they are.
    void SetHTMLText(const std::vector<std::string>& lines);
    void SetHTMLTextList(const QStringList& lines);

    void SetHover(bool on);
    // Stored only: the next paint shows it.
    void SetHoverColor(TColor color) { Store(&Settings::HoverColor, color); }
    void SetHoverFontColor(TColor color) { Store(&Settings::HoverFontColor, color); }
    void SetVAlignment(TVAlignment alignment);
    bool MiniScroll() const { return core_.MiniScroll(); }
    void SetMiniScroll(bool on);
    bool AutoScroll() const { return core_.AutoScroll(); }
    void SetAutoScroll(bool on);
    bool EnableBlink() const { return core_.EnableBlink(); }
    void SetEnableBlink(bool on);
    void SetAutoSizing(bool on);
    void SetAutoSizeType(TAutoSizeType type) { Store(&Settings::AutoSizeType, type); }
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool on);

    // Besides the shared rules, the colours, the shadow offset and the switches are saved only when they
    // differ from a new control's; the shadow offset is compared with -1, so 1 is always saved.
    bool IsPropertyStored(const QString& name) const override;

    // Scrolls the text up by `offset` pixels while MiniScroll is on; a negative offset goes back to 0.
    void ScrollTo(std::int32_t offset);
    // Draws the text now (repaint), the frames too when asked; refreshes AnchorCount and FocusHref.
    void PaintMarkup(bool withFrame);
    // The anchor under a point in control coordinates; updates HoverAnchor.
    AnchorHit AnchorAt(std::int32_t x, std::int32_t y) override;
    std::int32_t FocusedLink() const override { return hasFocus() ? core_.FocusAnchor() : -1; }

    HintInfo HintAt(QPoint point) override;
    void Loaded() override;

    // 0-based number of the anchor with the keyboard focus; -1 for none.
    std::int32_t FocusAnchor() const { return core_.FocusAnchor(); }
    std::int32_t AnchorCount() const { return core_.AnchorCount(); }
    const std::string& FocusHref() const { return core_.FocusHref(); }
    // The running timer's id, 0 when none runs.
    int TimerId() const { return timerId_; }
    std::int32_t TickCount() const { return core_.TickCount(); }
    bool BlinkPhase() const { return core_.BlinkPhase(); }
    std::int32_t ScrollOffset() const { return core_.ScrollOffset(); }
    bool UpArrowShown() const { return core_.UpArrowShown(); }
    bool DownArrowShown() const { return core_.DownArrowShown(); }
    bool ButtonDown() const { return core_.ButtonDown(); }

    TAnchorClick OnAnchorKeypress;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    class Host;

    // What a paint draws from: the request it hands the engine, and what it reads besides. While the key
    // stays the same, a paint shows the picture the last one drew, much as a QLabel keeps its layout.
    struct PictureState {
        const void* Picture;
        const void* Data;
        std::size_t Size;
        const void* Decoded;
        std::int32_t Frame;

        friend bool operator==(const PictureState&, const PictureState&) = default;
    };
    struct PaintKey {
        MarkupRequest Request; // its markup left empty: the key keeps its own copy
        std::string Markup;
        FontState Font;
        TColor Color = clNone;
        FrameSettings Frames;
        TVAlignment VAlignment = tvaTop;
        bool Enabled = true;
        bool Focused = false;
        QSize Size;
        qreal PixelRatio = 1;
        int DpiX = 0;
        int DpiY = 0;
        qint64 Palette = 0;
        const ImageList* Images = nullptr;
        std::uint64_t ImagesGeneration = 0;
        std::vector<PictureState> Pictures;

        friend bool operator==(const PaintKey&, const PaintKey&) = default;
    };
    PaintKey CurrentPaintKey() const;

    void TextLinesChanged();
    void ShapeRequest(MarkupRequest& request) const override;

    bool tabStop_ = false;
    int timerId_ = 0;
    ControlTimers* timerSource_ = nullptr; // stops the timer it started
    std::unique_ptr<Host> host_;
    StaticTextCore core_;

    std::uint64_t imagesGeneration_ = 0;
    std::optional<PaintKey> drawnKey_;
    QImage drawn_;
};

} // namespace velmora
