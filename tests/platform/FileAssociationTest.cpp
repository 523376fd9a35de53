#include "platform/FileAssociation.h"

#include "QtTestSupport.h"
#include "errors/ErrorMessages.h"
#include "platform/MimeAppsList.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>

namespace velmora {
namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteAll(const std::string& path, const std::string& text) {
    QDir().mkpath(QString::fromStdString(path).section('/', 0, -2));
    std::ofstream(path, std::ios::binary) << text;
}

struct ProcessResult {
    int exitCode = -1;
    std::string output;
};

// A private XDG layout: config, data and the system folders, all in one
// temporary folder, so the desktop's own associations never leak in.
class FileAssociationTest : public ::testing::Test {
protected:
    void SetUp() override {
        testkit::Application();
        ASSERT_TRUE(root_.isValid());
        folders_.DataHome = Path("data");
        folders_.ConfigHome = Path("config");
        folders_.DataDirs = {Path("system-data")};
        folders_.ConfigDirs = {Path("system-config")};
    }

    std::string Path(const char* name) const { return root_.filePath(name).toStdString(); }

    QProcessEnvironment Environment() const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name :
             {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID",
              "XDG_SESSION_DESKTOP", "DISPLAY", "WAYLAND_DISPLAY"}) {
            environment.remove(name);
        }
        environment.insert("HOME", QString::fromStdString(Path("home")));
        environment.insert("XDG_DATA_HOME", QString::fromStdString(folders_.DataHome));
        environment.insert("XDG_CONFIG_HOME", QString::fromStdString(folders_.ConfigHome));
        environment.insert("XDG_DATA_DIRS", QString::fromStdString(folders_.DataDirs[0]));
        environment.insert("XDG_CONFIG_DIRS", QString::fromStdString(folders_.ConfigDirs[0]));
        return environment;
    }

    ProcessResult Run(const QString& program, const QStringList& arguments) const {
        QProcess process;
        process.setProcessEnvironment(Environment());
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(program, arguments);
        ProcessResult result;
        if (!process.waitForFinished(30000)) {
            return result;
        }
        result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        result.output = process.readAll().trimmed().toStdString();
        return result;
    }

    std::string QueryDefault() const {
        return Run("xdg-mime", {"query", "default", "application/x-cue"}).output;
    }

    QTemporaryDir root_;
    XdgFolders folders_;
};

struct ExecCase {
    const char* program;
    const char* exec;
};

TEST_F(FileAssociationTest, ExecQuotesAProgramPathOnlyWhenItMustAndTheEntryIsValid) {
    const ExecCase cases[] = {
        {"/usr/bin/velmora", "/usr/bin/velmora %f"},
        {"/opt/velmora-1.0/bin_x+y=z,@!/velmora", "/opt/velmora-1.0/bin_x+y=z,@!/velmora %f"},
        {"/opt/#1/velmora", R"("/opt/#1/velmora" %f)"},
        {"/opt/a;b/velmora", R"("/opt/a;b/velmora" %f)"},
        {"/opt/~user/velmora", R"("/opt/~user/velmora" %f)"},
        {"/opt/my apps/velmora", R"("/opt/my apps/velmora" %f)"},
        {R"(/opt/it's "quoted"/velmora)", R"("/opt/it's \\"quoted\\"/velmora" %f)"},
        {"/opt/$HOME/`id`/velmora", R"("/opt/\\$HOME/\\`id\\`/velmora" %f)"},
        {R"(/opt/back\slash/velmora)", R"("/opt/back\\\\slash/velmora" %f)"},
        {"/opt/tab\there/velmora", R"("/opt/tab\there/velmora" %f)"},
    };
    for (const ExecCase& c : cases) {
        SCOPED_TRACE(c.program);
        EXPECT_EQ(DesktopExecLine(c.program), c.exec);
        const FileAssociation association(c.program, folders_);
        association.Associate();
        const std::string entry = ReadAll(association.DesktopEntryPath());
        EXPECT_NE(entry.find(std::string("\nExec=") + c.exec + "\n"), std::string::npos) << entry;
        const ProcessResult validation =
            Run("desktop-file-validate", {QString::fromStdString(association.DesktopEntryPath())});
        EXPECT_EQ(validation.exitCode, 0) << validation.output;
        EXPECT_EQ(validation.output, "");
    }
}

struct RefusedPathCase {
    const char* program;
    const char* why;
};

// Refused before anything is written: no entry, no default, no flag.
TEST_F(FileAssociationTest, AProgramPathDesktopsCannotLaunchIsRefused) {
    const RefusedPathCase cases[] = {
        {"/opt/100%/velmora", "il contient « % »"},
        {"/opt/%f/velmora", "il contient « % »"},
        {"/opt/caf\xE9/velmora", "il n'est pas en UTF-8"},
        {"/opt/cut\xC3/velmora", "il n'est pas en UTF-8"},
        {"/opt/overlong\xC0\xAF/velmora", "il n'est pas en UTF-8"},
    };
    for (const RefusedPathCase& c : cases) {
        SCOPED_TRACE(c.program);
        const FileAssociation association(c.program, folders_);
        try {
            association.Associate();
            ADD_FAILURE() << "no error";
        } catch (const Error& error) {
            EXPECT_EQ(error.what(), std::string("Le bureau ne peut pas lancer le programme \"") + c.program +
                                        "\" : " + c.why);
        }
        EXPECT_FALSE(QFile::exists(QString::fromStdString(association.DesktopEntryPath())));
        EXPECT_FALSE(QFile::exists(QString::fromStdString(association.MimeAppsListPath())));
        EXPECT_FALSE(association.FlagExists());
    }
    const FileAssociation accented("/opt/caf\xC3\xA9/velmora", folders_);
    EXPECT_NO_THROW(accented.Associate());
    EXPECT_EQ(QueryDefault(), "velmora.desktop");
}

// A list kept elsewhere (in a dotfiles folder, say) stays linked, even when
// the link's target does not exist yet.
TEST_F(FileAssociationTest, ADanglingLinkedMimeAppsListStaysALink) {
    QDir().mkpath(QString::fromStdString(folders_.ConfigHome));
    const std::string list = folders_.ConfigHome + "/mimeapps.list";
    ASSERT_EQ(symlink("../dotfiles/mimeapps.list", list.c_str()), 0);
    const FileAssociation association("/usr/bin/velmora", folders_);
    association.Associate();
    struct stat info {};
    ASSERT_EQ(lstat(list.c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ(ReadAll(Path("dotfiles/mimeapps.list")),
              "[Default Applications]\napplication/x-cue=velmora.desktop;\n");
    EXPECT_EQ(QueryDefault(), "velmora.desktop");
}

TEST_F(FileAssociationTest, TheInstalledEntryIsValidAndOpensSheets) {
    const ProcessResult validation = Run("desktop-file-validate", {VELMORA_DESKTOP_ENTRY});
    EXPECT_EQ(validation.exitCode, 0) << validation.output;
    EXPECT_EQ(validation.output, "");
    const std::string entry = ReadAll(VELMORA_DESKTOP_ENTRY);
    EXPECT_NE(entry.find("\nExec=velmora %f\n"), std::string::npos);
    EXPECT_NE(entry.find("\nMimeType=application/x-cue;\n"), std::string::npos);
}

TEST_F(FileAssociationTest, TickingMakesUsTheDefaultAndSetsTheFlag) {
    WriteAll(folders_.ConfigHome + "/mimeapps.list",
             "[Default Applications]\ntext/plain=mousepad.desktop;\napplication/x-cue=other.desktop;\n");
    const FileAssociation association("/opt/my apps/velmora", folders_);
    association.Associate();
    EXPECT_EQ(QueryDefault(), "velmora.desktop");
    EXPECT_TRUE(association.FlagExists());
    EXPECT_EQ(ReadAll(folders_.ConfigHome + "/mimeapps.list"),
              "[Default Applications]\ntext/plain=mousepad.desktop;\napplication/x-cue=velmora.desktop;\n");
    const std::string entry = ReadAll(association.DesktopEntryPath());
    EXPECT_NE(entry.find("MimeType=application/x-cue;\n"), std::string::npos);
}

struct EditorCase {
    const char* name;
    const char* userList;
    const char* systemList;
    const char* expectedDefault;
};

TEST_F(FileAssociationTest, UntickingHandsSheetsToTheTextEditorAndRemovesTheFlag) {
    const EditorCase cases[] = {
        {"editor in the user's list", "[Default Applications]\ntext/plain=mousepad.desktop;\n", "",
         "mousepad.desktop"},
        {"editor only in the system list", "",
         "[Default Applications]\ntext/plain=org.gnome.TextEditor.desktop;\n",
         "org.gnome.TextEditor.desktop"},
        {"the user's editor wins", "[Default Applications]\ntext/plain=kate.desktop;\n",
         "[Default Applications]\ntext/plain=gedit.desktop;\n", "kate.desktop"},
    };
    for (const EditorCase& c : cases) {
        SCOPED_TRACE(c.name);
        WriteAll(folders_.ConfigHome + "/mimeapps.list", c.userList);
        WriteAll(folders_.DataDirs[0] + "/applications/mimeapps.list", c.systemList);
        const FileAssociation association("/usr/bin/velmora", folders_);
        association.Associate();
        association.Dissociate();
        EXPECT_FALSE(association.FlagExists());
        EXPECT_EQ(DefaultApplication(ReadAll(folders_.ConfigHome + "/mimeapps.list"), "application/x-cue"),
                  std::optional<std::string>(c.expectedDefault));
        WriteAll(folders_.DataDirs[0] + "/applications/" + c.expectedDefault,
                 "[Desktop Entry]\nType=Application\nName=Editor\nExec=editor %f\nMimeType=text/plain;\n");
        EXPECT_EQ(QueryDefault(), c.expectedDefault);
    }
}

struct GiveBackCase {
    const char* name;
    const char* desktop; // XDG_CURRENT_DESKTOP, or empty
    // file (relative to the test's root) and its text
    std::vector<std::pair<const char*, const char*>> files;
    const char* expected; // what xdg-mime and gio answer afterwards; empty: no default
};

constexpr const char* kEditorEntry = "[Desktop Entry]\nType=Application\nName=Editor\nExec=true %f\n"
                                     "MimeType=text/plain;\n";

// Whatever the lists say, after unticking neither the desktop's tools nor
// GLib pick Velmora for sheets: they pick the editor the desktop would use for
// text/plain, or nothing.
TEST_F(FileAssociationTest, UntickingGivesSheetsBackAsTheDesktopToolsSeeThem) {
    const GiveBackCase cases[] = {
        {"no list names an editor: the one that opens text/plain",
         "",
         {{"system-data/applications/editor.desktop", kEditorEntry}},
         "editor.desktop"},
        {"the desktop's own list names the editor",
         "Test:Other",
         {{"system-data/applications/editor.desktop", kEditorEntry},
          {"system-data/applications/special.desktop", kEditorEntry},
          {"config/test-mimeapps.list", "[Default Applications]\ntext/plain=special.desktop;\n"}},
         "special.desktop"},
        {"the desktop's own list named us for sheets",
         "Test",
         {{"system-data/applications/editor.desktop", kEditorEntry},
          {"config/test-mimeapps.list", "[Default Applications]\napplication/x-cue=other.desktop;\n"}},
         "editor.desktop"},
        {"a system desktop list names the editor",
         "TEST",
         {{"system-data/applications/editor.desktop", kEditorEntry},
          {"system-data/applications/special.desktop", kEditorEntry},
          {"system-config/test-mimeapps.list", "[Default Applications]\ntext/plain=special.desktop;\n"}},
         "special.desktop"},
        {"no editor at all", "", {}, ""},
    };
    for (const GiveBackCase& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir root;
        ASSERT_TRUE(root.isValid());
        const auto at = [&root](const char* name) {
            return root.filePath(name).toStdString();
        };
        XdgFolders folders{at("data"), at("config"), {at("system-data")}, {at("system-config")}, {}};
        QProcessEnvironment environment = Environment();
        for (const char* variable :
             {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_DATA_DIRS", "XDG_CONFIG_DIRS"}) {
            environment.remove(variable);
        }
        environment.insert("HOME", root.filePath("home"));
        environment.insert("XDG_DATA_HOME", root.filePath("data"));
        environment.insert("XDG_CONFIG_HOME", root.filePath("config"));
        environment.insert("XDG_DATA_DIRS", root.filePath("system-data"));
        environment.insert("XDG_CONFIG_DIRS", root.filePath("system-config"));
        // The desktop tools' answers are read in English.
        environment.insert("LC_ALL", "C.UTF-8");
        environment.remove("LANGUAGE");
        if (*c.desktop != '\0') {
            environment.insert("XDG_CURRENT_DESKTOP", c.desktop);
            folders.Desktops = {};
            for (const QString& name : QString(c.desktop).toLower().split(':')) {
                folders.Desktops.push_back(name.toStdString());
            }
        }
        for (const auto& [name, text] : c.files) {
            WriteAll(at(name), text);
        }
        const auto run = [&environment](const QString& program, const QStringList& arguments) {
            QProcess process;
            process.setProcessEnvironment(environment);
            process.start(program, arguments);
            process.waitForFinished(30000);
            return QString::fromUtf8(process.readAllStandardOutput());
        };
        const auto xdgMime = [&] {
            return run("xdg-mime", {"query", "default", "application/x-cue"}).trimmed();
        };
        const auto gio = [&] {
            const QString out = run("gio", {"mime", "application/x-cue"});
            const qsizetype colon = out.indexOf("”: ");
            return colon < 0 || !out.startsWith("Default application")
                       ? QString()
                       : out.mid(colon + 3).section('\n', 0, 0);
        };

        // /usr/bin/true: GLib leaves out entries whose program does not exist.
        const FileAssociation association("/usr/bin/true", folders);
        association.Associate();
        EXPECT_EQ(xdgMime(), "velmora.desktop");
        EXPECT_EQ(gio(), "velmora.desktop");
        association.Dissociate();
        EXPECT_EQ(xdgMime().toStdString(), c.expected);
        EXPECT_EQ(gio().toStdString(), c.expected);
        EXPECT_FALSE(run("gio", {"mime", "application/x-cue"}).contains("velmora.desktop"));
        EXPECT_FALSE(association.FlagExists());

        association.Associate();
        EXPECT_EQ(xdgMime(), "velmora.desktop");
        EXPECT_EQ(gio(), "velmora.desktop");
    }
}

// xdg-mime takes an entry whose first Exec word `which` cannot find for one not installed, and then
// answers the next program that claims sheets.
TEST_F(FileAssociationTest, XdgMimeAnswersVelmoraBesideAnotherProgramClaimingSheets) {
    WriteAll(Path("system-data/applications/other.desktop"),
             "[Desktop Entry]\nType=Application\nName=Other\nExec=/usr/bin/true "
             "%f\nMimeType=application/x-cue;\n");
    WriteAll(Path("system-config/mimeapps.list"),
             "[Default Applications]\napplication/x-cue=other.desktop;\n");
    EXPECT_EQ(QueryDefault(), "other.desktop");
    const FileAssociation association("/usr/bin/true", folders_);
    association.Associate();
    EXPECT_EQ(QueryDefault(), "velmora.desktop");
    association.Dissociate();
    EXPECT_EQ(QueryDefault(), "other.desktop");
}

TEST_F(FileAssociationTest, AMovedProgramIsWrittenAgainWithItsNewPath) {
    FileAssociation("/old/place/velmora", folders_).Associate();
    const FileAssociation moved("/new/place/velmora", folders_);
    moved.Associate();
    const std::string entry = ReadAll(moved.DesktopEntryPath());
    EXPECT_NE(entry.find("Exec=/new/place/velmora %f"), std::string::npos) << entry;
    EXPECT_EQ(entry.find("/old/place"), std::string::npos);
}

struct FlagCase {
    const char* name;
    std::optional<std::string> settings;
    bool exists;
};

TEST_F(FileAssociationTest, AnyAssociateLineCountsAsTheFlag) {
    const FlagCase cases[] = {
        {"no settings file", std::nullopt, false},
        {"set by us", "associate=1\n", true},
        {"zero still counts", "associate=0\n", true},
        {"spaces around the name", "  associate =x\n", true},
        {"among other lines", "[General]\nother=2\nassociate=\n", true},
        {"another name", "associated=1\n", false},
        {"commented out", "#associate=1\n", false},
    };
    const FileAssociation association("/usr/bin/velmora", folders_);
    for (const FlagCase& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(QString::fromStdString(association.SettingsFilePath()));
        if (c.settings) {
            WriteAll(association.SettingsFilePath(), *c.settings);
        }
        EXPECT_EQ(association.FlagExists(), c.exists);
    }
}

TEST_F(FileAssociationTest, UntickingKeepsTheOtherSettings) {
    const FileAssociation association("/usr/bin/velmora", folders_);
    WriteAll(association.SettingsFilePath(), "other=2\nassociate=0\n");
    association.Dissociate();
    EXPECT_EQ(ReadAll(association.SettingsFilePath()), "other=2\n");
}

// A regular file where a folder should be stops even root.
TEST_F(FileAssociationTest, FailuresCarryTheMessages) {
    WriteAll(Path("blocker"), "");
    XdgFolders blockedData = folders_;
    blockedData.DataHome = Path("blocker") + "/data";
    XdgFolders blockedConfig = folders_;
    blockedConfig.ConfigHome = Path("blocker") + "/config";

    try {
        FileAssociation("/usr/bin/velmora", blockedData).Associate();
        ADD_FAILURE() << "no error";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "Echec à la définition des données pour 'Exec'");
    }
    try {
        FileAssociation("/usr/bin/velmora", blockedConfig).CreateSettingsKey();
        ADD_FAILURE() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(error.what(), "Echec à la création de la clé " + blockedConfig.ConfigHome + "/velmora");
    }
}

TEST_F(FileAssociationTest, AReadOnlyMimeAppsListIsReportedAndLeftAlone) {
    // Root writes through any mode, so the step runs as nobody.
    for (const std::string& folder : {folders_.DataHome, folders_.ConfigHome, Path("home")}) {
        QDir().mkpath(QString::fromStdString(folder));
        ASSERT_EQ(chmod(folder.c_str(), 0777), 0);
    }
    ASSERT_EQ(chmod(root_.path().toLocal8Bit().constData(), 0755), 0);
    const std::string list = folders_.ConfigHome + "/mimeapps.list";
    WriteAll(list, "[Default Applications]\napplication/x-cue=other.desktop;\n");
    ASSERT_EQ(chmod(list.c_str(), 0444), 0);
    ASSERT_EQ(chmod(folders_.ConfigHome.c_str(), 0555), 0);

    // A copy where nobody may run it: the build folder may lie in root's home.
    const QString probe = root_.filePath("association_probe");
    ASSERT_TRUE(QFile::copy(ASSOCIATION_PROBE, probe));
    ASSERT_EQ(chmod(probe.toLocal8Bit().constData(), 0755), 0);
    const ProcessResult result = Run("setpriv", {"--reuid=65534", "--regid=65534", "--clear-groups", probe,
                                                 "/usr/bin/velmora", "associate"});
    chmod(folders_.ConfigHome.c_str(), 0755);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.output, "Echec à la définition des données pour 'application/x-cue'");
    EXPECT_EQ(ReadAll(list), "[Default Applications]\napplication/x-cue=other.desktop;\n");
}

} // namespace
} // namespace velmora
