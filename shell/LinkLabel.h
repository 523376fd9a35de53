#pragma once

#include <QLabel>
#include <functional>

namespace velmora {

// A label that acts as a link: red, bold, underlined, hand cursor. A click on
// the enabled label, or Enter or Space while it has the focus (Tab gives it),
// calls OnClick from the event loop.
class LinkLabel : public QLabel {
public:
    LinkLabel(const QString& text, QWidget* parent);

    std::function<void()> OnClick;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void PostClick();
};

} // namespace velmora
