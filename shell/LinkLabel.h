#pragma once

#include <QLabel>
#include <functional>

namespace velmora {

// A label that acts as a link: red, bold, underlined, hand cursor. A click on
// the enabled label, Enter or Space while it has the focus (Tab gives it), or
// an assistive technology's press calls OnClick from the event loop.
class LinkLabel : public QLabel {
public:
    LinkLabel(const QString& text, QWidget* parent);

    std::function<void()> OnClick;

    // As a click: OnClick runs from the event loop, if the link is enabled then.
    void Press();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

} // namespace velmora
