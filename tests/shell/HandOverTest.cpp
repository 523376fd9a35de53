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
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

using namespace testkit;

namespace {

bool Finished(const QProcess& process) {
    return process.state() == QProcess::NotRunning;
}

// Windows started with it write every answered hand-over to standard error.
const QString kLogging = "QT_LOGGING_RULES=velmora.handover.debug=true";

StartOptions CapturingErrors(const QStringList& environment, int descriptorLimit = 0) {
    StartOptions options;
    options.environment = environment;
    options.captureErrors = true;
    options.descriptorLimit = descriptorLimit;
    return options;
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

QProcess* HandOverTest::Start(const QStringList& arguments, const QString& workingFolder,
                              const StartOptions& options) {
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_RUNTIME_DIR", Runtime());
    environment.insert("XDG_CONFIG_HOME", Folder() + "/config");
    environment.insert("XDG_DATA_HOME", Folder() + "/data");
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    for (const QString& variable : options.environment) {
        environment.insert(variable.section('=', 0, 0), variable.section('=', 1));
    }
    process->setProcessEnvironment(environment);
    process->setProcessChannelMode(options.captureErrors ? QProcess::SeparateChannels
                                                         : QProcess::ForwardedErrorChannel);
    if (options.descriptorLimit > 0) {
        const rlim_t limit = static_cast<rlim_t>(options.descriptorLimit);
        process->setChildProcessModifier([limit] {
            const rlimit both{limit, limit};
            setrlimit(RLIMIT_NOFILE, &both);
        });
    }
    if (!workingFolder.isEmpty()) {
        process->setWorkingDirectory(workingFolder);
    }
    const QString program = options.program.isEmpty() ? QString(VELMORA_PROGRAM) : options.program;
    if (options.launcher.isEmpty()) {
        process->start(program, arguments);
    } else {
        process->start(options.launcher.first(), options.launcher.mid(1) + QStringList{program} + arguments);
    }
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
    QVERIFY(sheetWhenSecondEnded.contains("INDEX 01 01:15:00\n"));
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
    QCOMPARE(user.choosers[0].filters, (QStringList{"Tous les fichiers pris en charge (*.bin *.img *.iso)",
                                                    "Fichiers BIN (*.bin)", "Tous les fichiers (*)"}));
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
    for (const QString& name : arguments) {
        GoodImageSheet(Folder(), name);
    }
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

// The mark is held but nobody listens: the start says why and fails, never
// claiming a repair that did not happen.
void HandOverTest::withoutAWindowTheSecondStartGivesUpAndSaysWhy() {
    qputenv("XDG_RUNTIME_DIR", Runtime().toUtf8());
    mark_ = InstanceMark::Acquire(RuntimeFolder());
    QVERIFY(mark_ != nullptr);
    const QString sheet = CarriedAudioSheet(Folder(), "album.cue");
    const QByteArray before = ReadFile(sheet);
    QProcess* second = Start({sheet}, {}, CapturingErrors({"VELMORA_HANDOVER_PATIENCE=0.5"}));
    QTRY_VERIFY_WITH_TIMEOUT(Finished(*second), 20000);
    QCOMPARE(second->exitCode(), 1);
    const QString errors = QString::fromUtf8(second->readAllStandardError());
    QVERIFY2(errors.contains("did not take hand-overs within 500 ms"), qPrintable(errors));
    QVERIFY2(errors.contains("\"" + sheet + "\" was not repaired"), qPrintable(errors));
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
    QVERIFY(ReadFile(sheet).contains("INDEX 01 01:15:00\n"));
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
    for (QProcess* start : starts) {
        QCOMPARE(start->exitCode(), 0);
    }
    QStringList rows = Rows(*form_);
    rows.sort();
    QCOMPARE(rows, expected);
    QVERIFY(user.boxes.empty());
}

void HandOverTest::fiftyStartsAtOnceLeaveOneInstanceThatRepairedEverySheet() {
    constexpr int kStarts = 50;
    QStringList sheets;
    for (int i = 0; i < kStarts; ++i) {
        sheets << CarriedAudioSheet(Folder() + "/" + QString::number(i), QString("sheet%1.cue").arg(i));
    }
    std::vector<QProcess*> starts;
    for (const QString& sheet : sheets) {
        starts.push_back(Start({sheet}));
    }
    const auto running = [&] {
        return std::count_if(starts.begin(), starts.end(), [](QProcess* p) { return !Finished(*p); });
    };
    QTRY_VERIFY_WITH_TIMEOUT(running() <= 1, 120000);
    // The one left is the window every other start handed its sheet to.
    QTest::qWait(500);
    QCOMPARE(running(), 1);
    for (QProcess* start : starts) {
        if (Finished(*start)) {
            QCOMPARE(start->exitCode(), 0);
        }
    }
    for (const QString& sheet : sheets) {
        QVERIFY2(ReadFile(sheet).contains("INDEX 01 01:15:00\n"), qPrintable(sheet));
        QVERIFY2(ReadFile(sheet + ".bak").contains("INDEX 01 00:75:00"), qPrintable(sheet));
    }
}

// The first instance dies while its run asks for the missing image: the waiting
// start takes the mark, becomes the window and asks for the image itself.
void HandOverTest::aSecondStartWhoseWindowIsKilledDuringItsRunTakesOver() {
    const std::string runtime = (Runtime() + "/velmora").toStdString();
    QProcess* first = Start({}, {}, CapturingErrors({kLogging}));
    QTRY_VERIFY_WITH_TIMEOUT(HandOver(runtime, std::nullopt) == HandOverResult::Delivered, 20000);

    const QString discs = Folder() + "/discs";
    const QString sheet = MissingImageSheet(discs, "disc.cue");
    const QByteArray original = ReadFile(sheet);
    QProcess* second = Start({sheet});
    QByteArray firstLog;
    QTRY_VERIFY_WITH_TIMEOUT((firstLog += first->readAllStandardError()).contains("received"), 20000);
    first->kill();
    QTRY_VERIFY_WITH_TIMEOUT(Finished(*first), 20000);

    // Now the window, its chooser open on the sheet, and taking hand-overs.
    QTRY_VERIFY_WITH_TIMEOUT(HandOver(runtime, std::nullopt) == HandOverResult::Delivered, 20000);
    QVERIFY(!Finished(*second));
    QVERIFY(InstanceMark::Acquire(runtime) == nullptr);
    QCOMPARE(ReadFile(sheet), original);
    QCOMPARE(Entries(discs), QStringList{"disc.cue"});
}

namespace {

// How many times a window said it answered the hand-over of `sheet`.
int AnsweredCount(const QByteArray& errors, const QString& sheet) {
    return int(errors.count(("velmora.handover: answered " + sheet + "\n").toUtf8()));
}

bool Repaired(const QString& sheet) {
    return ReadFile(sheet).contains("INDEX 01 01:15:00\n") &&
           ReadFile(sheet + ".bak").contains("INDEX 01 00:75:00\n");
}

rlim_t OpenFilesLimit(qint64 pid) {
    QFile limits(QString("/proc/%1/limits").arg(pid));
    if (!limits.open(QIODevice::ReadOnly)) {
        return 0;
    }
    for (const QByteArray& line : limits.readAll().split('\n')) {
        if (line.startsWith("Max open files")) {
            return line.simplified().split(' ').value(3).toULong();
        }
    }
    return 0;
}

} // namespace

// Every start is a candidate window; the one that becomes it holds 64
// descriptors at most, fewer than there are starts waiting on it.
void HandOverTest::aHundredStartsAtOnceUnderALimitOfSixtyFourDescriptors() {
    constexpr int kStarts = 100;
    QStringList sheets;
    for (int i = 0; i < kStarts; ++i) {
        sheets << CarriedAudioSheet(Folder() + "/" + QString::number(i), QString("sheet%1.cue").arg(i));
    }
    const StartOptions options = CapturingErrors({kLogging}, 64);
    std::vector<QProcess*> starts;
    for (const QString& sheet : sheets) {
        starts.push_back(Start({sheet}, {}, options));
    }
    const auto running = [&] {
        return std::count_if(starts.begin(), starts.end(), [](QProcess* p) { return !Finished(*p); });
    };
    QTRY_VERIFY_WITH_TIMEOUT(running() <= 1, 240000);
    QCOMPARE(running(), 1);
    const auto window = std::find_if(starts.begin(), starts.end(), [](QProcess* p) { return !Finished(*p); });
    QCOMPARE(OpenFilesLimit((*window)->processId()), rlim_t(64));
    const QString windowSheet = sheets[int(window - starts.begin())];
    QTRY_VERIFY_WITH_TIMEOUT(Repaired(windowSheet), 20000);
    (*window)->kill();
    QVERIFY((*window)->waitForFinished());
    const QByteArray log = (*window)->readAllStandardError();
    for (int i = 0; i < kStarts; ++i) {
        QVERIFY2(Repaired(sheets[i]), qPrintable(sheets[i]));
        if (starts[i] == *window) {
            continue;
        }
        QCOMPARE(starts[i]->exitCode(), 0);
        QVERIFY2(AnsweredCount(log, sheets[i]) == 1, qPrintable(sheets[i]));
    }
}

// Killed a second after twenty starts began to wait on it, the first instance
// takes no sheet with it: one survivor becomes the window and every sheet's run
// is answered once, by the first instance or by that survivor.
void HandOverTest::twentyWaitingStartsOutliveTheKilledFirstInstance() {
    const std::string runtime = (Runtime() + "/velmora").toStdString();
    const StartOptions options = CapturingErrors({kLogging});
    QProcess* first = Start({}, {}, options);
    QTRY_VERIFY_WITH_TIMEOUT(HandOver(runtime, std::nullopt) == HandOverResult::Delivered, 20000);
    QStringList sheets;
    std::vector<QProcess*> starts;
    for (int i = 0; i < 20; ++i) {
        sheets << CarriedAudioSheet(Folder() + "/" + QString::number(i), QString("sheet%1.cue").arg(i));
        starts.push_back(Start({sheets.back()}, {}, options));
    }
    QTest::qWait(1000);
    first->kill();
    QVERIFY(first->waitForFinished());
    const auto running = [&] {
        return std::count_if(starts.begin(), starts.end(), [](QProcess* p) { return !Finished(*p); });
    };
    QTRY_VERIFY_WITH_TIMEOUT(running() <= 1, 120000);
    QCOMPARE(running(), 1);
    const auto survivor =
        std::find_if(starts.begin(), starts.end(), [](QProcess* p) { return !Finished(*p); });
    QTRY_VERIFY_WITH_TIMEOUT(Repaired(sheets[int(survivor - starts.begin())]), 20000);
    (*survivor)->kill();
    QVERIFY((*survivor)->waitForFinished());
    const QByteArray firstLog = first->readAllStandardError();
    const QByteArray survivorLog = (*survivor)->readAllStandardError();
    QVERIFY2(AnsweredCount(firstLog, "") > 0 || true, "");
    int byFirst = 0;
    for (int i = 0; i < 20; ++i) {
        QVERIFY2(Repaired(sheets[i]), qPrintable(sheets[i]));
        byFirst += AnsweredCount(firstLog, sheets[i]);
        if (starts[i] == *survivor) {
            QCOMPARE(AnsweredCount(firstLog, sheets[i]) + AnsweredCount(survivorLog, sheets[i]), 0);
            continue;
        }
        QCOMPARE(starts[i]->exitCode(), 0);
        QVERIFY2(AnsweredCount(firstLog, sheets[i]) + AnsweredCount(survivorLog, sheets[i]) == 1,
                 qPrintable(sheets[i]));
    }
    // Otherwise the kill came too late to test anything.
    QVERIFY(byFirst < 19);
}

// The run of a handed-over sheet fails: its sender waits until the user has
// closed the error box.
void HandOverTest::aSecondStartIsReleasedOnlyOnceItsRunsErrorBoxCloses() {
    BecomeFirstInstance();
    ModalAnswerer user(form_.get());
    QProcess* second = Start({BrokenTimeAudioSheet(Folder(), "broken.cue")});
    bool waitingWhileTheBoxShows = false;
    user.OnBox = [&] {
        QTest::qWait(500);
        waitingWhileTheBoxShows = !Finished(*second);
    };
    QTRY_VERIFY_WITH_TIMEOUT(Finished(*second), 20000);
    QCOMPARE(int(user.boxes.size()), 1);
    QCOMPARE(user.boxes[0].icon, QMessageBox::Critical);
    QVERIFY(waitingWhileTheBoxShows);
    QCOMPARE(second->exitCode(), 0);
}

void HandOverTest::anotherUsersFolderInTheWayIsSteppedAround_data() {
    QTest::addColumn<QString>("takeThePlace");
    QTest::addColumn<bool>("cacheUsable");
    QTest::newRow("a folder open to all") << "mkdir -m 0777 \"$P\"" << true;
    QTest::newRow("a link to the other user's folder")
        << "mkdir -m 0700 \"$P.real\" && ln -s \"$P.real\" \"$P\"" << true;
    QTest::newRow("a plain file") << "touch \"$P\"" << true;
    QTest::newRow("the other user's private folder") << "mkdir -m 0700 \"$P\"" << true;
    QTest::newRow("no cache folder of ours either") << "mkdir -m 0777 \"$P\"" << false;
}

// Another user creates the temp folder's predictable name before Velmora's
// user starts it, with XDG_RUNTIME_DIR pointing where that user cannot write
// (as after su): Velmora still starts, repairs its sheet, and hands over
// through a folder of its own that the other user cannot take.
void HandOverTest::anotherUsersFolderInTheWayIsSteppedAround() {
    QFETCH(QString, takeThePlace);
    QFETCH(bool, cacheUsable);
    if (geteuid() != 0) {
        QSKIP("acting as two users needs root");
    }
    const QString user = "4242";
    const QString root = Folder() + "/users";
    const QString temp = root + "/tmp";
    const QString cache = root + "/cache";
    const QString home = root + "/home";
    const QString program = root + "/velmora";
    QVERIFY(QDir().mkpath(temp) && QDir().mkpath(cache) && QDir().mkpath(home));
    for (const QString& folder : {Folder(), root, cache}) {
        QVERIFY(chmod(QFile::encodeName(folder).constData(), 0755) == 0);
    }
    QVERIFY(chmod(QFile::encodeName(temp).constData(), 01777) == 0);
    // The build folder may lie where the user cannot reach.
    QVERIFY(QFile::copy(VELMORA_PROGRAM, program));
    QVERIFY(chmod(QFile::encodeName(program).constData(), 0755) == 0);
    const QString first = CarriedAudioSheet(home + "/music", "first.cue");
    const QString second = CarriedAudioSheet(home + "/music", "second.cue");
    QCOMPARE(QProcess::execute("chown", {"-R", user + ":" + user, home}), 0);
    if (cacheUsable) {
        QCOMPARE(QProcess::execute("chown", {user + ":" + user, cache}), 0);
    }

    const QString place = temp + "/velmora-" + user;
    QProcess other;
    QProcessEnvironment otherEnvironment;
    otherEnvironment.insert("P", place);
    other.setProcessEnvironment(otherEnvironment);
    other.start("setpriv", {"--reuid=65534", "--regid=65534", "--clear-groups", "sh", "-c", takeThePlace});
    QVERIFY(other.waitForFinished());
    QCOMPARE(other.exitCode(), 0);
    struct stat taken {};
    QCOMPARE(lstat(QFile::encodeName(place).constData(), &taken), 0);

    StartOptions options;
    options.environment = {"TMPDIR=" + temp, "XDG_CACHE_HOME=" + cache, "HOME=" + home,
                           "XDG_CONFIG_HOME=" + home + "/config", "XDG_DATA_HOME=" + home + "/data"};
    options.captureErrors = true;
    options.launcher = {"setpriv", "--reuid=" + user, "--regid=" + user, "--clear-groups"};
    options.program = program;
    QProcess* window = Start({first}, QString(), options);
    QTRY_VERIFY_WITH_TIMEOUT(Repaired(first), 20000);
    QVERIFY(!Finished(*window));
    struct stat after {};
    QCOMPARE(lstat(QFile::encodeName(place).constData(), &after), 0);
    QCOMPARE(after.st_uid, taken.st_uid);
    QCOMPARE(after.st_mode, taken.st_mode);

    if (!cacheUsable) {
        window->kill();
        QVERIFY(window->waitForFinished());
        const QString errors = QString::fromUtf8(window->readAllStandardError());
        QCOMPARE(errors.count("no private runtime folder"), 1);
        return;
    }
    const QStringList own = QDir(temp).entryList({"velmora-" + user + "-*"}, QDir::Dirs | QDir::NoSymLinks);
    QCOMPARE(own.size(), 1);
    struct stat ours {};
    QCOMPARE(lstat(QFile::encodeName(temp + "/" + own[0]).constData(), &ours), 0);
    QCOMPARE(ours.st_uid, uid_t(user.toUInt()));
    QCOMPARE(ours.st_mode & 07777, mode_t(0700));
    QCOMPARE(ReadFile(cache + "/velmora/runtime-folder"), (temp + "/" + own[0] + "\n").toUtf8());

    QProcess* handing = Start({second}, QString(), options);
    QTRY_VERIFY_WITH_TIMEOUT(Finished(*handing), 20000);
    QCOMPARE(handing->exitCode(), 0);
    QVERIFY(Repaired(second));
    QVERIFY(!Finished(*window));
}

} // namespace velmora
