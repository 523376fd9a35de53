#pragma once

#include <QLabel>
#include <functional>

namespace velmora {

// A label that acts as a link: red, bold, underlined, hand cursor. A click on
// the enabled label calls OnClick from the event loop.
class LinkLabel : public QLabel {
public:
    LinkLabel(const QString& text, QWidget* parent);

    std::function<void()> OnClick;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace velmora
