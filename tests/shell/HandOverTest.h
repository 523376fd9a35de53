#pragma once

#include <QObject>
#include <QProcess>
#include <QTemporaryDir>
#include <memory>

namespace velmora {

class InstanceMark;
class TForm1;

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
    void withoutAWindowTheSecondStartEndsSilently();
    void aKilledFirstInstanceDoesNotStopTheNextStart();
    void twentySecondStartsAtOnce();
    void fiftyStartsAtOnceLeaveOneInstanceThatRepairedEverySheet();
    void aFirstInstanceKilledDuringAHandOverLeavesTheSheetWhole();

private:
    void BecomeFirstInstance();
    QProcess* Start(const QStringList& arguments, const QString& workingFolder = QString());
    QString Runtime() const { return work_->path() + "/runtime"; }
    QString Folder() const { return work_->path(); }

    std::unique_ptr<QTemporaryDir> work_;
    std::unique_ptr<InstanceMark> mark_;
    std::unique_ptr<TForm1> form_;
    std::vector<std::unique_ptr<QProcess>> processes_;
};

} // namespace velmora
