#include "platform/RuntimeFolder.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {
namespace {

// Sets variables for one test and puts them back afterwards.
class ScopedEnvironment {
public:
    void Set(const char* name, const std::string& value) {
        Remember(name);
        setenv(name, value.c_str(), 1);
    }
    void Unset(const char* name) {
        Remember(name);
        unsetenv(name);
    }
    ~ScopedEnvironment() {
        for (const auto& [name, value] : saved_) {
            if (value) {
                setenv(name.c_str(), value->c_str(), 1);
            } else {
                unsetenv(name.c_str());
            }
        }
    }

private:
    void Remember(const char* name) {
        const char* value = std::getenv(name);
        saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
    }
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

std::string ReadAll(const std::string& path) {
    std::ifstream in(path);
    std::string text;
    std::getline(in, text);
    return text;
}

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 ? info.st_mode : 0;
}

class RuntimeFolderFallbackTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(root_.isValid());
        temp_ = root_.filePath("tmp").toStdString();
        cache_ = root_.filePath("cache").toStdString();
        ASSERT_EQ(mkdir(temp_.c_str(), 01777), 0);
        ASSERT_EQ(chmod(temp_.c_str(), 01777), 0);
        environment_.Unset("XDG_RUNTIME_DIR");
        environment_.Set("TMPDIR", temp_);
        environment_.Set("XDG_CACHE_HOME", cache_);
        predictable_ = temp_ + "/velmora-" + std::to_string(geteuid());
    }

    QTemporaryDir root_;
    ScopedEnvironment environment_;
    std::string temp_;
    std::string cache_;
    std::string predictable_;
};

TEST_F(RuntimeFolderFallbackTest, AFreePredictableFolderIsUsedAsBefore) {
    const RuntimeFolderChoice choice = ChooseRuntimeFolder();
    ASSERT_TRUE(choice.Folder);
    EXPECT_EQ(*choice.Folder, predictable_);
    EXPECT_EQ(ModeOf(predictable_) & 07777, 0700u);
}

// The folder others cannot take is made once and found again by every later
// start through the record; a record whose folder is gone gets a new one.
TEST_F(RuntimeFolderFallbackTest, ATakenPlaceLeadsToOneRecordedPrivateFolder) {
    std::ofstream(predictable_) << "not a folder";
    const RuntimeFolderChoice first = ChooseRuntimeFolder();
    ASSERT_TRUE(first.Folder);
    EXPECT_NE(*first.Folder, predictable_);
    EXPECT_EQ(first.Folder->rfind(predictable_ + "-", 0), 0u) << *first.Folder;
    EXPECT_EQ(ModeOf(*first.Folder) & 07777, 0700u);
    const std::string record = cache_ + "/velmora/runtime-folder";
    EXPECT_EQ(ReadAll(record), *first.Folder);
    EXPECT_EQ(ModeOf(record) & 07777, 0600u);

    EXPECT_EQ(ChooseRuntimeFolder().Folder, first.Folder);

    ASSERT_EQ(rmdir(first.Folder->c_str()), 0);
    const RuntimeFolderChoice again = ChooseRuntimeFolder();
    ASSERT_TRUE(again.Folder);
    EXPECT_EQ(ReadAll(record), *again.Folder);
    EXPECT_EQ(ModeOf(*again.Folder) & 07777, 0700u);
}

TEST_F(RuntimeFolderFallbackTest, ARecordNamingAFolderOpenToOthersIsNotFollowed) {
    std::ofstream(predictable_) << "not a folder";
    const std::string open = temp_ + "/open";
    ASSERT_EQ(mkdir(open.c_str(), 0777), 0);
    ASSERT_EQ(chmod(open.c_str(), 0777), 0);
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(cache_ + "/velmora")));
    ASSERT_EQ(chmod((cache_ + "/velmora").c_str(), 0700), 0);
    std::ofstream(cache_ + "/velmora/runtime-folder") << open << "\n";
    ASSERT_EQ(chmod((cache_ + "/velmora/runtime-folder").c_str(), 0600), 0);
    const RuntimeFolderChoice choice = ChooseRuntimeFolder();
    ASSERT_TRUE(choice.Folder);
    EXPECT_NE(*choice.Folder, open);
    EXPECT_EQ(ModeOf(*choice.Folder) & 07777, 0700u);
}

TEST_F(RuntimeFolderFallbackTest, WithoutAUsableCacheFolderThereIsNoFolderAndTheReasonsAreGiven) {
    std::ofstream(predictable_) << "not a folder";
    std::ofstream(cache_) << "the cache folder is a file";
    const RuntimeFolderChoice choice = ChooseRuntimeFolder();
    EXPECT_FALSE(choice.Folder);
    EXPECT_NE(choice.Refusals.find(predictable_), std::string::npos) << choice.Refusals;
    EXPECT_NE(choice.Refusals.find(cache_), std::string::npos) << choice.Refusals;
    EXPECT_THROW(RuntimeFolder(), std::runtime_error);
}

// The test program itself, run again on a few of its tests with a temp folder
// of its own: the folders its helpers made must all be gone when it ends.
TEST(TestHelpersTest, LeaveNothingInTheTempFolder) {
    if (std::getenv("VELMORA_LEFTOVER_CHILD") != nullptr) {
        GTEST_SKIP() << "already the child run";
    }
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    // Some of the tests run a step as another user inside it.
    ASSERT_EQ(chmod(QFile::encodeName(temp.path()).constData(), 0755), 0);
    // Helpers that ignore TMPDIR leave theirs in /tmp itself.
    const auto helperFolders = [] {
        return QDir("/tmp").entryList({"platform-tests-*"}, QDir::Dirs);
    };
    const QStringList before = helperFolders();
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("TMPDIR", temp.path());
    environment.insert("VELMORA_LEFTOVER_CHILD", "1");
    environment.remove("XDG_RUNTIME_DIR");
    child.setProcessEnvironment(environment);
    child.start(QString::fromLocal8Bit(program_invocation_name),
                {"--gtest_filter=HandOverServerTest.WithoutAPathOnlyTheWindowIsShown:FileAssociationTest.*"});
    ASSERT_TRUE(child.waitForFinished(120000));
    EXPECT_EQ(child.exitCode(), 0) << child.readAllStandardOutput().toStdString();
    EXPECT_EQ(QDir(temp.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList());
    EXPECT_EQ(helperFolders(), before);
}

} // namespace
} // namespace velmora
