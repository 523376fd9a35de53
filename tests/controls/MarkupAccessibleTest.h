#pragma once

#include <QObject>

namespace velmora {

class MarkupAccessibleTest : public QObject {
    Q_OBJECT

private slots:
    void init();

    void aScreenReaderSeesTheTextAndItsLinks_data();
    void aScreenReaderSeesTheTextAndItsLinks();
    void thePressActionOpensTheLink_data();
    void thePressActionOpensTheLink();
    void theFocusedLinkIsToldAsFocused();
    void theLinksFollowTheText();
};

} // namespace velmora
