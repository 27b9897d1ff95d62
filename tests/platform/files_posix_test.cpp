#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>

#include "platform/files.h"
#include "support/temp_dir.h"

namespace platform {
namespace {

std::set<std::string> namesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

TEST(FileReplacementTest, AKilledWritersTemporaryGoesALiveWritersStaysAndBothEndWhole) {
    twk::test::TempDir dir;
    const std::string target = twk::test::writeFile(dir.file("ManualReport.csv"), "old");
    // What a writer killed before its rename leaves: an unlocked file of the temporary name.
    const std::string killed = twk::test::writeFile(temporaryPrefix(target) + "k1lled", "part");

    FileReplacement live(target);
    ASSERT_TRUE(live.write("live"));
    EXPECT_FALSE(twk::test::exists(killed));
    ASSERT_EQ(namesIn(dir.path()).size(), 2u) << "the target and the live temporary file";

    ASSERT_TRUE(replaceFile(target, "second"));
    EXPECT_EQ(twk::test::readFile(target), "second");
    ASSERT_TRUE(live.commit()) << "a second writer must not take the live one's file away";
    EXPECT_EQ(twk::test::readFile(target), "live");
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"ManualReport.csv"});
}

TEST(FileReplacementTest, ALinkAtTheTargetIsReplacedNeverWrittenThroughAndTheModeIsKept) {
    twk::test::TempDir dir;
    const std::string elsewhere = twk::test::writeFile(dir.file("elsewhere"), "not yours");
    const std::string target = dir.file("version.dat");
    ASSERT_EQ(::symlink(elsewhere.c_str(), target.c_str()), 0);
    ASSERT_TRUE(replaceFile(target, "[Tarnwick]\n"));
    EXPECT_FALSE(std::filesystem::is_symlink(target));
    EXPECT_EQ(twk::test::readFile(target), "[Tarnwick]\n");
    EXPECT_EQ(twk::test::readFile(elsewhere), "not yours");

    ASSERT_EQ(::chmod(target.c_str(), 0604), 0);
    ASSERT_TRUE(replaceFile(target, "again"));
    struct stat info {};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0604u);
}

}  // namespace
}  // namespace platform
