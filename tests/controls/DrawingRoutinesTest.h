#pragma once

#include <QObject>

namespace velmora {

// The drawing and geometry routines both controls share, on the fake canvas whose records give exact
// rectangles, points and colours.
class DrawingRoutinesTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void gradientBands_data();
    void gradientBands();
    void gradientHalves_data();
    void gradientHalves();
    void bevelColors_data();
    void bevelColors();
    void bevelFrames_data();
    void bevelFrames();
    void textArea_data();
    void textArea();
    void verticalAlignment_data();
    void verticalAlignment();
    void autoSizeRules_data();
    void autoSizeRules();
    void shellTargets_data();
    void shellTargets();
};

} // namespace velmora
