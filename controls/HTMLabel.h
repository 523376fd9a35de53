#pragma once

#include "controls/MarkupControl.h"
#include "controls/core/LabelCore.h"
#include "markup/RenderMarkup.h"

#include <memory>
#include <optional>
#include <vector>

namespace velmora {

// A label that shows marked-up text over a plain, gradient or gradient-line background inside optional
// bevels and a border. It has no native window of its own and cannot take the focus. Anchors react to
// the mouse: a hand cursor, an optional highlight, links opened by any mouse button, anchor hints.
class THTMLabel : public MarkupControl {
    Q_OBJECT
    Q_PROPERTY(QStringList HTMLText READ HTMLTextList WRITE SetHTMLTextList)
    Q_PROPERTY(velmora::TColor URLColor READ URLColor WRITE SetURLColor)
    Q_PROPERTY(bool Hover READ Hover WRITE SetHover)
    Q_PROPERTY(velmora::TColor HoverColor READ HoverColor WRITE SetHoverColor)
    Q_PROPERTY(velmora::TColor HoverFontColor READ HoverFontColor WRITE SetHoverFontColor)
    Q_PROPERTY(velmora::TColor ColorTo READ ColorTo WRITE SetColorTo)
    Q_PROPERTY(velmora::MarkupControls::TGradientType GradientType READ GradientType WRITE SetGradientType)
    Q_PROPERTY(qint32 LineWidth READ LineWidth WRITE SetLineWidth)
    Q_PROPERTY(velmora::MarkupControls::TVAlignment VAlignment READ VAlignment WRITE SetVAlignment)
    Q_PROPERTY(bool Ellipsis READ Ellipsis WRITE SetEllipsis)
    Q_PROPERTY(bool AutoSizing READ AutoSizing WRITE SetAutoSizing)
    Q_PROPERTY(velmora::MarkupControls::TAutoSizeType AutoSizeType READ AutoSizeType WRITE SetAutoSizeType)
    Q_PROPERTY(bool HintShowFull READ HintShowFull WRITE SetHintShowFull)
    Q_PROPERTY(bool HTMLHint READ HTMLHint WRITE SetHTMLHint)
    Q_PROPERTY(velmora::ImageList* Images READ Images WRITE SetImages)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)

public:
    explicit THTMLabel(QWidget* parent = nullptr);
    ~THTMLabel() override;

    // The lines' whole text with every line break removed becomes the one line of HTMLText; none only
    // repaints.
    void SetHTMLText(const std::vector<std::string>* lines);
    void SetHTMLTextList(const QStringList& lines);

    void SetHover(bool on);
    void SetHoverColor(TColor color);
    void SetHoverFontColor(TColor color);
    TColor ColorTo() const { return colorTo_; }
    void SetColorTo(TColor color);
    TGradientType GradientType() const { return gradientType_; }
    void SetGradientType(TGradientType type);
    // Kept for the layouts; it takes no part in drawing.
    std::int32_t LineWidth() const { return lineWidth_; }
    void SetLineWidth(std::int32_t width);
    void SetVAlignment(TVAlignment alignment);
    void SetAutoSizing(bool on);
    void SetAutoSizeType(TAutoSizeType type);
    bool HintShowFull() const { return hintShowFull_; }
    void SetHintShowFull(bool on) { hintShowFull_ = on; }
    bool HTMLHint() const { return htmlHint_; }
    void SetHTMLHint(bool on) { htmlHint_ = on; }
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool on);
    // Off unless a window asks for it: then Tab reaches the label, its first link shows the focus
    // frame, and Enter or Space opens that link as a click does.
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool on);
    // The target of the link the focus frame is on; empty without the focus.
    const std::string& FocusHref() const { return core_.FocusHref(); }

    // Repaints the whole label; the end of every HTMLText assignment.
    virtual void TextUpdated();
    // Runs a call with this label's pictures, wrapping unless Ellipsis and no line spacing, whoever
    // built it.
    virtual bool RenderText(MarkupCall& call);

    // The anchor under a point in control coordinates; updates HoverAnchor.
    AnchorHit AnchorAt(std::int32_t x, std::int32_t y) override;
    std::int32_t FocusedLink() const override { return hasFocus() ? 0 : -1; }
    // Asks the parent to repaint r (control coordinates) with its background; nothing without a parent.
    void InvalidateHoverRect(const Rect& r);

    HintInfo HintAt(QPoint point) override;

    TAnchorHintEvent OnAnchorHint;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    class Host;

    void TextLinesChanged();
    void ShapeRequest(MarkupRequest& request) const override;
    bool Render(MarkupCall& call) override { return RenderText(call); }

    TColor colorTo_ = clNone;
    TGradientType gradientType_ = gtFullHorizontal;
    std::int32_t lineWidth_ = 0;
    bool hintShowFull_ = false;
    bool htmlHint_ = false;
    bool transparent_ = false;
    bool tabStop_ = false;
    std::unique_ptr<Host> host_;
    LabelCore core_;
};

} // namespace velmora
