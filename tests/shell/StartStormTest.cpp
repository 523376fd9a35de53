#include "StartStormTest.h"

#include "ShellTestSupport.h"
#include "platform/HandOverClient.h"

#include <QDir>
#include <QtTest>
#include <algorithm>

namespace velmora {

using namespace testing;

namespace {

bool Finished(const QProcess& process) {
    return process.state() == QProcess::NotRunning;
}

QStringList Entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

StartStormTest::StartStormTest() = default;
StartStormTest::~StartStormTest() = default;

void StartStormTest::init() {
    FailOnQtWarnings();
    work_ = std::make_unique<QTemporaryDir>();
    QVERIFY(work_->isValid());
    QVERIFY(QDir().mkpath(Runtime()));
    QFile::setPermissions(Runtime(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void StartStormTest::cleanup() {
    for (auto& process : processes_) {
        if (!Finished(*process)) {
            process->kill();
            process->waitForFinished();
        }
    }
    processes_.clear();
    work_.reset();
}

QProcess* StartStormTest::Start(const QStringList& arguments) {
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_RUNTIME_DIR", Runtime());
    environment.insert("XDG_CONFIG_HOME", Folder() + "/config");
    environment.insert("XDG_DATA_HOME", Folder() + "/data");
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    process->setProcessEnvironment(environment);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->start(VELMORA_PROGRAM, arguments);
    processes_.push_back(std::move(process));
    return processes_.back().get();
}

void StartStormTest::fiftyStartsAtOnceLeaveOneInstanceThatRepairedEverySheet() {
    constexpr int Starts = 50;
    QStringList sheets;
    for (int i = 0; i < Starts; ++i)
        sheets << CarriedAudioSheet(Folder() + "/" + QString::number(i), QString("sheet%1.cue").arg(i));
    std::vector<QProcess*> starts;
    for (const QString& sheet : sheets)
        starts.push_back(Start({sheet}));
    const auto running = [&] {
        return std::count_if(starts.begin(), starts.end(), [](QProcess* p) { return !Finished(*p); });
    };
    QTRY_VERIFY_WITH_TIMEOUT(running() <= 1, 120000);
    // The one left is the window every other start handed its sheet to.
    QTest::qWait(500);
    QCOMPARE(running(), 1);
    for (QProcess* start : starts)
        if (Finished(*start))
            QCOMPARE(start->exitCode(), 0);
    for (const QString& sheet : sheets) {
        QVERIFY2(ReadFile(sheet).contains("INDEX 01 01:15:00\r\n"), qPrintable(sheet));
        QVERIFY2(ReadFile(sheet + ".bak").contains("INDEX 01 00:75:00\r\n"), qPrintable(sheet));
    }
}

void StartStormTest::aFirstInstanceKilledDuringAHandOverLeavesTheSheetWhole() {
    const std::string runtime = (Runtime() + "/velmora").toStdString();
    QProcess* first = Start({});
    QTRY_VERIFY_WITH_TIMEOUT(HandOver(runtime, std::nullopt) == HandOverResult::Delivered, 20000);

    // The first instance's run asks for the missing image, so the second start waits on it.
    const QString discs = Folder() + "/discs";
    const QString sheet = MissingImageSheet(discs, "disc.cue");
    const QByteArray original = ReadFile(sheet);
    QProcess* second = Start({sheet});
    QTest::qWait(1000);
    QVERIFY(!Finished(*second));
    first->kill();
    QTRY_VERIFY_WITH_TIMEOUT(Finished(*first), 20000);

    QTRY_VERIFY_WITH_TIMEOUT(Finished(*second), 20000);
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QCOMPARE(ReadFile(sheet), original);
    QCOMPARE(Entries(discs), QStringList{"disc.cue"});

    // The next start is the first instance again and repairs its own sheet.
    const QString album = CarriedAudioSheet(Folder() + "/music", "album.cue");
    QProcess* next = Start({album});
    QTRY_VERIFY_WITH_TIMEOUT(ReadFile(album).contains("INDEX 01 01:15:00\r\n"), 20000);
    QVERIFY(!Finished(*next));
}

} // namespace velmora
