#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <memory>

namespace velmora {

class THTMLStaticText;
namespace testkit {
class ManualTimers;
}

// The static text in a shown window: keys, mouse, its timer advanced by the test, and what it draws.
class HTMLStaticTextTest : public QObject {
    Q_OBJECT

public:
    HTMLStaticTextTest();
    ~HTMLStaticTextTest() override;

private slots:
    void init();
    void cleanup();
    void creationValues_data();
    void creationValues();
    void savedLayoutLoadsTheSameText_data();
    void savedLayoutLoadsTheSameText();
    void settersRepaint_data();
    void settersRepaint();
    void textChangeDropsHoverAndFocus();
    void focusMovesAmongAnchors_data();
    void focusMovesAmongAnchors();
    void enterAndSpaceOpenTheFocusedAnchor_data();
    void enterAndSpaceOpenTheFocusedAnchor();
    void focusFrameShowsOnlyWithTheFocus();
    void timerFollowsBlinkAndAutoScroll();
    void timerWaitsForTheLayout();
    void blinkIgnoresCase_data();
    void blinkIgnoresCase();
    void noTimerMeansNoBlinkAndNoAnimation();
    void gifFramesFollowTheTimer();
    void aFrameThatDoesNotDecodeStaysOutOfTheTimer();
    void shownPicturesFollowTheirSources();
    void miniScrollArrows();
    void autoScrollFollowsTheCursor();
    void heldButtonScrolls();
    void alignmentAndMiniScroll_data();
    void alignmentAndMiniScroll();
    void disabledTextIsEngraved();
    void enterAndExit_data();
    void enterAndExit();
    void anchorClicks_data();
    void anchorClicks();
    void centredTextIsHitWhereItIsDrawn();
    void hints_data();
    void hints();
    void keptPictureFollowsEveryInput_data();
    void keptPictureFollowsEveryInput();
    void noBackgroundColourShowsTheWindow();

private:
    THTMLStaticText& MakeText(int width, int height);
    std::unique_ptr<testkit::ManualTimers> timers_;
    QPointer<QWidget> host_;
    THTMLStaticText* text_ = nullptr;
};

} // namespace velmora
