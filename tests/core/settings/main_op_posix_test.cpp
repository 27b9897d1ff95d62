#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>
#include <set>
#include <thread>

#include "core/settings/main_op.h"
#include "platform/program_folder.h"
#include "support/read_only.h"
#include "support/settings_values.h"
#include "support/temp_dir.h"

namespace twk {
namespace {

using test::allValues;

class MainOpPosixTest : public ::testing::Test {
protected:
    test::TempDir dir;
    Regedit::RootKey root{dir.path()};
    MainOp settings{root, "/opt/tarnwick"};
};

TEST_F(MainOpPosixTest, StoreWithoutWriteAccessMakesSaveReportFailureAndKeepsTheStoredValues) {
    settings.Init();
    settings.isGuard = "1";
    ASSERT_TRUE(settings.Save());
    const std::string keyFile = root.keyFile(kSettingsKey);
    test::ReadOnlyFolder readOnly(keyFile.substr(0, keyFile.rfind('/')));
    if (!readOnly.active()) GTEST_SKIP() << "this machine allows no read-only folder";
    settings.isGuard = "0";
    EXPECT_FALSE(settings.Save());
    MainOp reloaded(root, "/opt/tarnwick");
    reloaded.Init();
    EXPECT_EQ(reloaded.isGuard, "1");
}

TEST_F(MainOpPosixTest, InstalledProgramReadsTheSystemReportFoldersABuildFolderItsOwn) {
    struct Case {
        std::string programFolder, reportsBase;
    };
    const std::string build = "/home/dev/tarnwick/build/bin";
    for (const Case& c : {Case{platform::installedProgramFolder(), platform::systemDataFolder()},
                          Case{build, build}}) {
        MainOp defaults(root, c.programFolder);
        defaults.Init();
        EXPECT_EQ(defaults.DirRep, c.reportsBase + "/reports") << c.programFolder;
        EXPECT_EQ(defaults.DirQuar, c.reportsBase + "/quarantine") << c.programFolder;
    }
}

// Every value of one read must come from the same save.
void expectWholeGeneration(const MainOp& read, int attempt) {
    const std::vector<std::string> values = allValues(read);
    const std::set<std::string> generations(values.begin(), values.end());
    EXPECT_EQ(generations.size(), 1u) << "a mix of saves after kill " << attempt;
}

TEST_F(MainOpPosixTest, WriterKilledInTheMiddleOfSavesNeverLeavesAMixedStore) {
    const std::string writer = std::string(TWK_TESTS_BIN_DIR) + "/settings_writer";
    std::mt19937 random(20261208);
    for (int attempt = 0; attempt < 25; ++attempt) {
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::execl(writer.c_str(), writer.c_str(), dir.path().c_str(), nullptr);
            ::_exit(127);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(2000 + random() % 20000));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself: " << status;
        MainOp read(root, "/opt/tarnwick");
        read.Init();
        if (read.Recip.empty()) continue;  // killed before its first save finished
        expectWholeGeneration(read, attempt);
    }
}

}  // namespace
}  // namespace twk
