#pragma once

#include <QObject>
#include <QProcess>
#include <QTemporaryDir>
#include <memory>
#include <vector>

namespace velmora {

// Many real starts of the program at once, and a first instance that dies while a second start waits
// on it; no window lives in this process.
class StartStormTest : public QObject {
    Q_OBJECT

public:
    StartStormTest();
    ~StartStormTest() override;

private slots:
    void init();
    void cleanup();

    void fiftyStartsAtOnceLeaveOneInstanceThatRepairedEverySheet();
    void aFirstInstanceKilledDuringAHandOverLeavesTheSheetWhole();

private:
    QProcess* Start(const QStringList& arguments);
    QString Runtime() const { return work_->path() + "/runtime"; }
    QString Folder() const { return work_->path(); }

    std::unique_ptr<QTemporaryDir> work_;
    std::vector<std::unique_ptr<QProcess>> processes_;
};

} // namespace velmora
