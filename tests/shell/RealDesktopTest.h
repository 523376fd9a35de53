#pragma once

#include <QObject>
#include <QTemporaryDir>
#include <memory>

namespace velmora {

class TForm1;
class TForm2;

// What only a real X server with a window manager shows: how the window
// manager frames, places, stacks and minimises the two windows.
class RealDesktopTest : public QObject {
    Q_OBJECT

public:
    RealDesktopTest();
    ~RealDesktopTest() override;

private slots:
    void init();
    void cleanup();

    void theMainWindowIsCentredByItsFrame();
    void theAboutWindowIsCentredByItsFrameEveryTime();
    void theAboutWindowIsAModalDialogOfTheMainWindow();
    void minimisingTheAboutWindowTakesTheMainWindowAlong();
    void theWindowManagerOffersTheAboutWindowNoMaximisingOrResizing();
    void aClickOnTheMainWindowGivesTheKeyboardBackToTheAboutWindow();
    void aRightClickOnARowOffersToRestoreItsSheet();
    void theKeyboardOpensARowsDetails();
    void bothWindowsKeepTheirLightLookUnderEveryStyle_data();
    void bothWindowsKeepTheirLightLookUnderEveryStyle();
    void theAboutWindowSpeaksTheUsersLanguage_data();
    void theAboutWindowSpeaksTheUsersLanguage();
    void restoreOriginalInTheRealProgramKeepsAnEditedSheet_data();
    void restoreOriginalInTheRealProgramKeepsAnEditedSheet();

private:
    void OpenAbout();

    std::unique_ptr<QTemporaryDir> work_;
    std::unique_ptr<TForm1> main_;
    std::unique_ptr<TForm2> about_;
};

} // namespace velmora
