#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace velmora {

class THTMLabel;

// The markup label as a window holds it: a child of a shown window, driven by real mouse, enter, leave
// and tool-tip events, checked by its state, its events and the pixels it draws.
class HTMLabelTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void creationValues_data();
    void creationValues();
    void savedLayoutLoadsTheSameLabel_data();
    void savedLayoutLoadsTheSameLabel();
    void settersRepaint_data();
    void settersRepaint();
    void textAssignment_data();
    void textAssignment();
    void textChangesEmptyThePictureCache_data();
    void textChangesEmptyThePictureCache();
    void backgrounds_data();
    void backgrounds();
    void bevelsAndBorder_data();
    void bevelsAndBorder();
    void anchorClicks_data();
    void anchorClicks();
    void enterAndExit_data();
    void enterAndExit();
    void hoverHighlightsOnlyTheHoveredAnchor();
    void hoveredAnchorNumberIsLogged();
    void leavingResetsTheHoverButNotTheCursor();
    void hints_data();
    void hints();
    void autoSizing_data();
    void autoSizing();
    void centredTextIsHitWhereItIsDrawn();
    void hitsFollowWhatMovesTheLines();
    void removedComponentsAreForgotten();
    void captionIsNeverShown();
    void renderTextLendsTheLabelsPictures_data();
    void renderTextLendsTheLabelsPictures();

private:
    THTMLabel& MakeLabel(int width, int height);
    QPointer<QWidget> host_;
    THTMLabel* label_ = nullptr;
};

} // namespace velmora
