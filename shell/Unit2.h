#pragma once

#include <QPointer>
#include <QWidget>

class QPushButton;

namespace velmora {

class FrameCentring;
class PictureBox;
class THTMLabel;
class THTMLStaticText;

// The About window: the logo (a click swaps it with the portrait and back), the
// freeware notice with the graphics credit, the donation link and the thank-you
// line. One instance lives from start to end, hidden until the main window's
// About link shows it; the main window stays disabled while it is open.
class TForm2 : public QWidget {
public:
    // `mainWindow` is the window it is centred over and gives back on closing.
    explicit TForm2(QWidget* mainWindow);

    void Image1Click();
    void Image2Click();
    void BitBtn1Click();

    PictureBox* Image1;
    PictureBox* Image2;
    THTMLStaticText* HTMLStaticText1;
    THTMLabel* HTMLabel1;
    THTMLabel* HTMLabel2;
    QPushButton* BitBtn1;

protected:
    // Centres the window over the main window each time it is shown.
    void setVisible(bool visible) override;
    void closeEvent(QCloseEvent* event) override;
    // Escape closes the window as OK does.
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateTexts();

    QPointer<QWidget> mainWindow_;
    FrameCentring* centring_;
};

} // namespace velmora
