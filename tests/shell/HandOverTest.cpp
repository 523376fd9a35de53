#include "HandOverTest.h"

#include "ShellTestSupport.h"
#include "platform/HandOverClient.h"
#include "platform/InstanceMark.h"
#include "platform/RuntimeFolder.h"
#include "shell/Unit1.h"

#include <QListWidget>
#include <QtTest>
#include <algorithm>
#include <csignal>

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

HandOverTest::HandOverTest() = default;
HandOverTest::~HandOverTest() = default;

void HandOverTest::init() {
    FailOnQtWarnings();
    work_ = std::make_unique<QTemporaryDir>();
    QVERIFY(work_->isValid());
    QVERIFY(QDir().mkpath(Runtime()));
    QFile::setPermissions(Runtime(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_CONFIG_HOME", (Folder() + "/config").toUtf8());
    qputenv("XDG_DATA_HOME", (Folder() + "/data").toUtf8());
}

void HandOverTest::cleanup() {
    for (auto& process : processes_) {
        if (!Finished(*process)) {
            process->kill();
            process->waitForFinished();
        }
    }
    processes_.clear();
    form_.reset();
    mark_.reset();
    work_.reset();
}

void HandOverTest::BecomeFirstInstance() {
    qputenv("XDG_RUNTIME_DIR", Runtime().toUtf8());
    const std::string folder = RuntimeFolder();
    mark_ = InstanceMark::Acquire(folder);
    QVERIFY(mark_ != nullptr);
    form_ = std::make_unique<TForm1>(std::nullopt);
    form_->ListenForHandOver(folder);
    form_->show();
}

QProcess* HandOverTest::Start(const QStringList& arguments, const QString& workingFolder) {
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_RUNTIME_DIR", Runtime());
    environment.insert("XDG_CONFIG_HOME", Folder() + "/config");
    environment.insert("XDG_DATA_HOME", Folder() + "/data");
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    process->setProcessEnvironment(environment);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    if (!workingFolder.isEmpty())
        process->setWorkingDirectory(workingFolder);
    process->start(VELMORA_PROGRAM, arguments);
    processes_.push_back(std::move(process));
    return processes_.back().get();
}

void HandOverTest::aSecondStartHandsItsSheetOverAndWaitsForTheRun() {
    BecomeFirstInstance();
    ModalAnswerer user(form_.get());
    const QString sheet = CarriedAudioSheet(Folder() + "/music", "album.cue");
    QProcess* second = Start({sheet});
    int rowsWhenSecondEnded = -1;
    QByteArray sheetWhenSecondEnded;
    QObject scope; // ends the connection with this test, whatever happens
    connect(second, &QProcess::finished, &scope, [&] {
        rowsWhenSecondEnded = form_->ListView1->count();
        sheetWhenSecondEnded = ReadFile(sheet);
    });
    QTRY_VERIFY_WITH_TIMEOUT(Finished(*second), 20000);
    QCOMPARE(second->exitCode(), 0);
    QCOMPARE(Rows(*form_), QStringList{"album.cue => CORRECTED"});
    QCOMPARE(rowsWhenSecondEnded, 1);
    QVERIFY(sheetWhenSecondEnded.contains("INDEX 01 01:15:00\r\n"));
    QVERIFY(QFile::exists(sheet + ".bak"));
    QVERIFY(user.boxes.empty());
}

void HandOverTest::theSecondStartWaitsWhileTheRunAsksTheUser() {
    BecomeFirstInstance();
    ModalAnswerer user(form_.get());
    const QString sheet = MissingImageSheet(Folder() + "/discs", "disc.cue");
    QProcess* second = Start({sheet});
    bool runningDuringChooser = false;
    user.OnChooser = [&] {
        QTest::qWait(300);
        runningDuringChooser = !Finished(*second);
    };
    user.Answer(std::nullopt);
    QTRY_VERIFY_WITH_TIMEOUT(Finished(*second), 20000);
    QCOMPARE(int(user.choosers.size()), 1);
    QCOMPARE(user.choosers[0].filters,
             (QStringList{"All supported files (*.bin *.img *.iso)", "BIN Files (*.bin)", "All files (*)"}));
    QVERIFY(runningDuringChooser);
    QCOMPARE(second->exitCode(), 0);
}

void HandOverTest::withoutOneArgumentTheWindowIsOnlyShown_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("no argument") << QStringList{};
    QTest::newRow("two arguments") << QStringList{"a.cue", "b.cue"};
}

void HandOverTest::withoutOneArgumentTheWindowIsOnlyShown() {
    QFETCH(QStringList, arguments);
    BecomeFirstInstance();
    ModalAnswerer user(form_.get());
    for (const QString& name : arguments)
        GoodImageSheet(Folder(), name);
    form_->showMinimized();
    QTRY_VERIFY(form_->isMinimized());
    QProcess* second = Start(arguments, Folder());
    QTRY_VERIFY_WITH_TIMEOUT(Finished(*second), 20000);
    QCOMPARE(second->exitCode(), 0);
    QTRY_VERIFY(!form_->isMinimized());
    QVERIFY(Rows(*form_).isEmpty());
    QVERIFY(user.boxes.empty());
}

void HandOverTest::aRelativePathWithSpacesIsMadeAbsoluteByTheSecondStart() {
    BecomeFirstInstance();
    ModalAnswerer user(form_.get());
    GoodImageSheet(Folder() + "/my music", "a b.cue");
    QProcess* second = Start({"a b.cue"}, Folder() + "/my music");
    QTRY_VERIFY_WITH_TIMEOUT(Finished(*second), 20000);
    QCOMPARE(Rows(*form_), QStringList{"a b.cue => GOOD"});
    QCOMPARE(form_->State().CuePath, (Folder() + "/my music/a b.cue").toStdString());
    QVERIFY(user.boxes.empty());
}

void HandOverTest::withoutAWindowTheSecondStartEndsSilently() {
    qputenv("XDG_RUNTIME_DIR", Runtime().toUtf8());
    mark_ = InstanceMark::Acquire(RuntimeFolder());
    QVERIFY(mark_ != nullptr);
    const QString sheet = CarriedAudioSheet(Folder(), "album.cue");
    const QByteArray before = ReadFile(sheet);
    QProcess* second = Start({sheet});
    QTRY_VERIFY_WITH_TIMEOUT(Finished(*second), 20000);
    QCOMPARE(second->exitCode(), 0);
    QCOMPARE(ReadFile(sheet), before);
}

void HandOverTest::aKilledFirstInstanceDoesNotStopTheNextStart() {
    const std::string folder = (Runtime() + "/velmora").toStdString();
    const auto listening = [&folder] {
        return HandOver(folder, std::nullopt) == HandOverResult::Delivered;
    };
    QProcess* first = Start({});
    QTRY_VERIFY_WITH_TIMEOUT(listening(), 20000);
    first->kill();
    QTRY_VERIFY(Finished(*first));
    QVERIFY(QFileInfo::exists(QString::fromStdString(folder) + "/TForm1"));
    QVERIFY(!listening());

    // The next start takes the stale socket's place as the first instance.
    QProcess* next = Start({});
    QTRY_VERIFY_WITH_TIMEOUT(listening(), 20000);
    const QString sheet = CarriedAudioSheet(Folder() + "/music", "album.cue");
    QProcess* third = Start({sheet});
    QTRY_VERIFY_WITH_TIMEOUT(Finished(*third), 20000);
    QCOMPARE(third->exitCode(), 0);
    QVERIFY(ReadFile(sheet).contains("INDEX 01 01:15:00\r\n"));
    QVERIFY(!Finished(*next));
}

void HandOverTest::twentySecondStartsAtOnce() {
    BecomeFirstInstance();
    ModalAnswerer user(form_.get());
    QStringList expected;
    std::vector<QProcess*> starts;
    for (int i = 0; i < 20; ++i) {
        const QString name = QString("sheet%1.cue").arg(i, 2, 10, QChar('0'));
        expected << name + " => CORRECTED";
        starts.push_back(Start({CarriedAudioSheet(Folder() + "/" + QString::number(i), name)}));
    }
    QTRY_VERIFY_WITH_TIMEOUT(
        std::all_of(starts.begin(), starts.end(), [](QProcess* p) { return Finished(*p); }), 60000);
    for (QProcess* start : starts)
        QCOMPARE(start->exitCode(), 0);
    QStringList rows = Rows(*form_);
    rows.sort();
    QCOMPARE(rows, expected);
    QVERIFY(user.boxes.empty());
}

void HandOverTest::fiftyStartsAtOnceLeaveOneInstanceThatRepairedEverySheet() {
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

void HandOverTest::aFirstInstanceKilledDuringAHandOverLeavesTheSheetWhole() {
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
