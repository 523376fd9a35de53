#pragma once

#include <QObject>
#include <QPalette>
#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

namespace velmora {

class TForm1;
class TForm2;

// What desktop users expect of both windows: text that reads under light and
// dark colour schemes, the keyboard, long names, and errors that say where.
class DesktopHabitsTest : public QObject {
    Q_OBJECT

public:
    DesktopHabitsTest();
    ~DesktopHabitsTest() override;

private slots:
    void init();
    void cleanup();

    void textReadsUnderEveryScheme_data();
    void textReadsUnderEveryScheme();

    void mainWindowKeys_data();
    void mainWindowKeys();
    void aboutWindowKeys_data();
    void aboutWindowKeys();

    void aLongNameKeepsItsEndAndOutcomeInView();
    void newRowsScrollIntoViewAndTheFocusFrameFollows();
    void theFocusFrameStaysWhereTheUserPutIt();

    void assistiveTechnologiesSeeBothWindows_data();
    void assistiveTechnologiesSeeBothWindows();
    void assistiveTechnologiesPressTheLinks();
    void boxesCarryTheProgramsIcon();
    void assistiveTechnologiesReadARowsReasons();

    void picturesAreSharpOnScaledScreens_data();
    void picturesAreSharpOnScaledScreens();
    void resultIconsHaveTheirDetailedVersion_data();
    void resultIconsHaveTheirDetailedVersion();

    void errorBoxContent_data();
    void errorBoxContent();
    void anErrorNamesItsSheetAndWhatTheDropLeftUndone_data();
    void anErrorNamesItsSheetAndWhatTheDropLeftUndone();

private:
    void ShowWindows();
    QString Folder() const { return work_->path(); }

    QPalette schemeBefore_;
    std::unique_ptr<QTemporaryDir> work_;
    std::unique_ptr<TForm1> main_;
    std::unique_ptr<TForm2> about_;
    std::vector<std::string> opened_;
};

} // namespace velmora
