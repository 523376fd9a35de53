#pragma once

#include <QObject>
#include <QProcess>
#include <QTemporaryDir>
#include <memory>

namespace velmora {

class InstanceMark;
class TForm1;

// How a test starts the program.
struct StartOptions {
    QStringList environment; // NAME=value, added to the usual ones
    bool captureErrors = false;
    int descriptorLimit = 0; // soft and hard; 0 leaves the limit alone
    // Run as `launcher... program arguments...` when given, the program defaulting to velmora.
    QStringList launcher;
    QString program;
};

// Real second starts of the program handing over to a window in this process,
// or to a first instance in another process, each test with its own runtime
// folder.
class HandOverTest : public QObject {
    Q_OBJECT

public:
    HandOverTest();
    ~HandOverTest() override;

private slots:
    void init();
    void cleanup();

    void aSecondStartHandsItsSheetOverAndWaitsForTheRun();
    void theSecondStartWaitsWhileTheRunAsksTheUser();
    void withoutOneArgumentTheWindowIsOnlyShown_data();
    void withoutOneArgumentTheWindowIsOnlyShown();
    void aRelativePathWithSpacesIsMadeAbsoluteByTheSecondStart();
    void withoutAWindowTheSecondStartGivesUpAndSaysWhy();
    void aKilledFirstInstanceDoesNotStopTheNextStart();
    void twentySecondStartsAtOnce();
    void fiftyStartsAtOnceLeaveOneInstanceThatRepairedEverySheet();
    void aHundredStartsAtOnceUnderALimitOfSixtyFourDescriptors();
    void aSecondStartWhoseWindowIsKilledDuringItsRunTakesOver();
    void twentyWaitingStartsOutliveTheKilledFirstInstance();
    void aSecondStartIsReleasedOnlyOnceItsRunsErrorBoxCloses();
    void anotherUsersFolderInTheWayIsSteppedAround_data();
    void anotherUsersFolderInTheWayIsSteppedAround();

private:
    void BecomeFirstInstance();
    QProcess* Start(const QStringList& arguments, const QString& workingFolder = QString(),
                    const StartOptions& options = StartOptions());
    QString Runtime() const { return work_->path() + "/runtime"; }
    QString Folder() const { return work_->path(); }

    std::unique_ptr<QTemporaryDir> work_;
    std::unique_ptr<InstanceMark> mark_;
    std::unique_ptr<TForm1> form_;
    std::vector<std::unique_ptr<QProcess>> processes_;
};

} // namespace velmora
