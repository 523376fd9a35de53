#pragma once

#include <QObject>
#include <QTemporaryDir>
#include <memory>
#include <optional>
#include <string>

namespace velmora {

class TForm1;

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void windowIsLaidOutAsDesigned();
    void controls_data();
    void controls();
    void bannerLiesOverTheHintAndTheListOverTheBanner();
    void bannerIsDrawnFromItsCornerAtItsOwnSize_data();
    void bannerIsDrawnFromItsCornerAtItsOwnSize();
    void programTitle_data();
    void programTitle();

    void drops_data();
    void drops();
    void aLongDroppedPathIsTakenWhole();
    void aDropDuringARunWaitsForIt();
    void errorsShowTheStandardBoxAndEnableTheLinkAgain();
    void aHandedOverPathEndsAtItsFirstNul();

    void openLink_data();
    void openLink();
    void aMissingFileIsAskedForWithTheBestCandidateSelected_data();
    void aMissingFileIsAskedForWithTheBestCandidateSelected();
    void theChooserOffersEveryTypeTheEngineProposes_data();
    void theChooserOffersEveryTypeTheEngineProposes();

    void formShow_data();
    void formShow();
    void progressBarAtTheEndOfRuns_data();
    void progressBarAtTheEndOfRuns();

    void restoreOriginalPutsBackWhatARowsRunChanged();
    void aSheetWhoseEncodingCannotBeToldIsReadAsTheUserSays();
    void aRestoreThatCannotBeMadeShowsWhyAndChangesNothing();
    void aSheetEditedSinceItsRepairIsKeptAndSaysSo();

    void ticksAndUntickingWriteTheAssociation();
    void activationFollowsTheStoredFlag();
    void anActivationFailureIsShownOnce();

private:
    std::unique_ptr<TForm1> MakeForm(std::optional<std::string> commandLineSheet = std::nullopt);
    void Drop(TForm1& form, const QStringList& paths);
    QString Folder() const { return work_->path(); }

    std::unique_ptr<QTemporaryDir> work_;
};

} // namespace velmora
