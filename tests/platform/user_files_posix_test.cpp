// Where the files written for the user go, whatever folder the program runs from, and that
// nobody else can read them.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/user_files.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace platform {
namespace {

using twk::test::ScopedEnvironment;
using twk::test::TempDir;

mode_t modeOf(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

TEST(UserFilesTest, FolderIsTarnwickInTheCacheHomeAnInvalidCacheHomeMeansHomeCache) {
    struct Case {
        const char* cacheHome;
        const char* expected;
    };
    const Case cases[] = {
        {"/var/cache/ann", "/var/cache/ann/tarnwick"},
        {"relative/cache", "/home/ann/.cache/tarnwick"},
        {"", "/home/ann/.cache/tarnwick"},
    };
    ScopedEnvironment home("HOME", "/home/ann");
    for (const Case& c : cases) {
        ScopedEnvironment cacheHome("XDG_CACHE_HOME", c.cacheHome);
        EXPECT_EQ(userFilesFolder(), c.expected) << "XDG_CACHE_HOME=" << c.cacheHome;
    }
}

TEST(UserFilesTest, PrivateFolderIsMadeWithItsParentsOrClosedWhenFoundOpen) {
    TempDir dir;
    const std::string made = dir.file("cache/tarnwick");
    ASSERT_TRUE(makePrivateFolder(made));
    EXPECT_EQ(modeOf(made), 0700u);
    EXPECT_EQ(modeOf(dir.file("cache")), 0700u);

    const std::string open = dir.file("open");
    ASSERT_EQ(::mkdir(open.c_str(), 0777), 0);
    ::chmod(open.c_str(), 0755);
    const std::string kept = twk::test::writeFile(open + "/version.dat", "[Tarnwick]\n");
    ASSERT_TRUE(makePrivateFolder(open));
    EXPECT_EQ(modeOf(open), 0700u);
    EXPECT_EQ(twk::test::readFile(kept), "[Tarnwick]\n");
}

TEST(UserFilesTest, NoFolderWhereAFileStandsOrAnotherUserOwnsIt) {
    TempDir dir;
    twk::test::writeFile(dir.file("cache"), "");
    EXPECT_FALSE(makePrivateFolder(dir.file("cache")));
    EXPECT_FALSE(makePrivateFolder(dir.file("cache/tarnwick")));
    EXPECT_FALSE(makePrivateFolder("relative/tarnwick"));
    EXPECT_FALSE(makePrivateFolder(""));

    if (::geteuid() != 0) GTEST_SKIP() << "handing a folder to another user needs root";
    const std::string others = dir.file("others");
    ASSERT_EQ(::mkdir(others.c_str(), 0755), 0);
    ASSERT_EQ(::chown(others.c_str(), 65534, 65534), 0);
    EXPECT_FALSE(makePrivateFolder(others));
    EXPECT_EQ(modeOf(others), 0755u) << "another user's folder is left as it is";
}

}  // namespace
}  // namespace platform
