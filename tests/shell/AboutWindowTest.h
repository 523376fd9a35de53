#pragma once

#include <QObject>
#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

namespace velmora {

class TForm1;
class TForm2;

class AboutWindowTest : public QObject {
    Q_OBJECT

public:
    AboutWindowTest();
    ~AboutWindowTest() override;

private slots:
    void init();
    void cleanup();

    void windowIsLaidOutAsDesigned();
    void controls_data();
    void controls();
    void texts_data();
    void texts();
    void labelSettings_data();
    void labelSettings();

    void clicksSwapTheLogoAndThePortrait_data();
    void clicksSwapTheLogoAndThePortrait();
    void theAboutLinkDisablesTheMainWindowUntilOk();
    void okActivatesTheMainWindowWhichReadsTheFlagAgain();
    void keysOnTheOkButton_data();
    void keysOnTheOkButton();
    void aWindowManagerCloseAlsoGivesTheMainWindowBack();
    void reopeningShowsTheSameWindowAsItWasLeft();
    void centredOverTheMainWindowEachTimeItIsShown();
    void links_data();
    void links();

    void rendering();
    void theDonationDoesNotBlink();

private:
    void OpenAbout();

    std::unique_ptr<QTemporaryDir> work_;
    std::unique_ptr<TForm1> main_;
    std::unique_ptr<TForm2> about_;
    std::vector<std::string> opened_;
};

} // namespace velmora
